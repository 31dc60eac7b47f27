#pragma once
// TLayoutTab: the "Anordnen" tab. On the left the picture strip with "A&lle übernehmen" and
// "Automatisch &anordnen..."; above the work area zoom, page count and current page; then the
// sub-tabs "Bilder anordnen" (the page in its scroll box and the side panel of the selected
// placement), "Einstellungen" (grid, margin, spacing), "Schrift Einstellungen" (caption font and
// background) and "Bild Optionen" (aspect ratio, file names, default fit/crop and size, minimum
// quality).
//
// The controls are the source of truth for the layout settings: every drawing copies their
// current values into a PageRenderOptions (renderOptions()), and the album file and the stored
// values read and write the controls themselves. Their object names are the names the settings
// have always had (ZoomEd, RandEd, ...), and they are public so that the placement editor, the
// arrangement and the album file can reach them.
//
// The page is that of the printer in printerPages(), read afresh at every use. The header brings
// the control classes along, so users of the public controls need no includes of their own.

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/album/Album.h"
#include "core/layout/PageGeometry.h"
#include "gui/toolkit/WheelNotches.h"
#include "render/PageRenderer.h"

class QAction;
class QScrollArea;
class QTabWidget;

namespace pr {

class AlbumCommand;
class AlbumHistory;
class ColorComboBox;
class PageView;
class PictureStrip;
class PlacementEditor;
class PlacementPanel;
class PrinterPageSource;
class PrintSizeCommands;
class Prompter;
class StoredValues;

class TLayoutTab : public QWidget {
    Q_OBJECT
public:
    enum SubTab { ArrangeTab = 0, SettingsTab = 1, FontTab = 2, PictureOptionsTab = 3 };

    // Fills `area` (the tab's content area) with itself. The album and the prompter must outlive
    // the tab's use; the tab never draws while album.AlbumLoading is set.
    TLayoutTab(Album& album, Prompter& prompter, QWidget* area);
    ~TLayoutTab() override;

    // SpaceED, RandEd, UseGridCheck, GridEd, ShowGridCheck, MinQualEd, EnhanceQualCheck.
    void registerStoredValues(StoredValues& values);

    // The eight controls that act on the selected placement.
    void setPlacementControlsEnabled(bool enabled);

    // The page: printable size and resolution of the printer, read now.
    PrinterPage printerPage() const;
    PrinterPageSource& printerPages() { return *printer_; }
    // Horizontal pixels per inch of the screen (the strip's logical dpi).
    int screenPpi() const;
    QSize pageOnScreenSize() const;
    PageRenderOptions renderOptions() const;

    QFont captionFont() const { return captionFont_; }
    void setCaptionFont(const QFont& font) { captionFont_ = font; }

    // Redraws the page and the strip at once (after every edit).
    void PaintBox2Paint();
    void PaintBox1Paint();
    // Gives the page widget the sheet's size without drawing: a widget of no size gets no paint
    // that could size it, so this runs from the start and after every change of the page.
    void syncPageSize();

    // For tests: a fixed page and screen resolution instead of the printer's and the screen's;
    // a display depth for DrawDib (0: the screen's); the font dialog's stand-in.
    void setPrinterPageSource(std::function<PrinterPage()> source) {
        pageSource_ = std::move(source);
        syncPageSize();
    }
    void setScreenPpi(int ppi) {
        screenPpiOverride_ = ppi;
        syncPageSize();
    }
    void setDisplayBitsPerPixel(int bits);
    // The window's way: the strip and the page draw stand-ins while workers decode pictures
    // (RenditionScheduler), instead of decoding them in the paint event.
    void setAsyncPictures(bool async);
    void setFontChooser(std::function<bool(QFont&)> chooser) { fontChooser_ = std::move(chooser); }

    // True while the current page is being handed to the output tab's page field.
    bool PageSyncGuard() const { return pageSyncGuard_; }

    // Mouse work on the strip and the page; the side panel and the arrangement buttons.
    PlacementEditor& editor() const { return *editor_; }
    PlacementPanel& panel() const { return *panel_; }
    PrintSizeCommands& printSizes() const { return *printSizes_; }

    // The album's history (may be null: nothing is recorded). Its undo and redo actions join the
    // placement's popup menu, and after every undo and redo the side panel, the strip and the page
    // show the album afresh.
    void setHistory(AlbumHistory* history, QAction* undo, QAction* redo);
    AlbumHistory* history() const { return history_; }
    // Hands a change just made to the history; without one the command is dropped.
    void record(AlbumCommand* command);

    // Controls, named as the settings have always been named.
    QPushButton* Overtakeall = nullptr;
    QPushButton* OrdeneBtn = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PictureStrip* PaintBox1 = nullptr;
    QSpinBox* ZoomEd = nullptr;
    QSpinBox* PageCountED = nullptr;
    QSpinBox* APageEd = nullptr;
    QTabWidget* PageControl4 = nullptr;  // the sub-tabs
    QScrollArea* ScrollBox2 = nullptr;
    PageView* PaintBox2 = nullptr;
    QPushButton* HellKonBtn = nullptr;
    QPushButton* DelitBtn = nullptr;
    QPushButton* RotLeftBtn = nullptr;
    QPushButton* RotRightBtn = nullptr;
    QLineEdit* FreeText = nullptr;
    QPushButton* ShowBigBtn = nullptr;
    QPushButton* ChangePosSizeBtn = nullptr;
    QCheckBox* CutCheck = nullptr;
    QCheckBox* UseGridCheck = nullptr;
    QDoubleSpinBox* GridEd = nullptr;
    QCheckBox* ShowGridCheck = nullptr;
    QDoubleSpinBox* RandEd = nullptr;
    QDoubleSpinBox* SpaceED = nullptr;
    QPushButton* FontBtn = nullptr;
    QCheckBox* TranspCheck = nullptr;
    ColorComboBox* BkColBox = nullptr;
    QCheckBox* SverhCheck = nullptr;
    QCheckBox* ShowFNames = nullptr;
    QCheckBox* CutDefault = nullptr;
    QDoubleSpinBox* DBreiteED = nullptr;
    QDoubleSpinBox* DHocheED = nullptr;
    QCheckBox* EnhanceQualCheck = nullptr;
    QSpinBox* MinQualEd = nullptr;

signals:
    // The page was drawn afresh, as it is after every edit of a placement, a caption or a picture.
    void pageRedrawn();
    // One of the settings that the album file keeps was changed in its control.
    void settingsChanged();
    // The current page changed; the output tab copies it into its own page field (APageEd2) and
    // ignores its own change while PageSyncGuard() is true.
    void currentPageChanged(int page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildStripColumn();
    QWidget* buildPageControls();
    QWidget* buildArrangePage();
    QWidget* buildSettingsPage();
    QWidget* buildFontPage();
    QWidget* buildPictureOptionsPage();

    void connectSettingsChanged();
    void APageEdChange();
    void PageCountEDChange();
    void FontBtnClick();
    void wheelScroll(int angleDelta);

    Album& album_;
    Prompter& prompter_;
    std::unique_ptr<PrinterPageSource> printer_;
    std::function<PrinterPage()> pageSource_;
    std::function<bool(QFont&)> fontChooser_;
    int screenPpiOverride_ = 0;
    int displayBits_ = 0;
    QFont captionFont_;
    bool pageSyncGuard_ = false;
    PlacementEditor* editor_ = nullptr;
    PlacementPanel* panel_ = nullptr;
    PrintSizeCommands* printSizes_ = nullptr;
    AlbumHistory* history_ = nullptr;
    WheelNotches wheel_;
};

}  // namespace pr
