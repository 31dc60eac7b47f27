#pragma once
// TOutputTab: the tab "Drucken/Als Bild speichern". Above the preview sit the print image button
// "Go!" (every page of the album on the chosen printer), the printer-setup image button, the page
// field "Aktuelle Seite:" (APageEd2, the layout tab's current page mirrored both ways) and
// "Als Bild speichern..." with its resolution "Bitmap-Qualität:" ... "DPI"; beside them a
// decorative panel. Below, the 1:1 print preview (PaintBox3) in its scroll box.
//
// Printing, the preview and the page export all draw through PageRenderer with the layout tab's
// settings (TLayoutTab::renderOptions()), so paper, preview, exported picture and page view agree.
// The printer is the layout tab's (printerPages()): a printer, paper or orientation chosen here is
// the page of the layout at once.
//
// The single-picture print ("Bild drucken...") starts here too, from the add tab's "Drucken..."
// (PrintBtnClick) and from the viewer's "&Drucken" (printSinglePicture with kViewerPrintTitle).

#include <QString>
#include <QWidget>
#include <functional>

#include "core/album/Album.h"
#include "core/imaging/Progress.h"
#include "gui/toolkit/WheelNotches.h"
#include "render/PageRenderer.h"

class QPagedPaintDevice;
class QCheckBox;
class QPrinter;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace pr {

class AlbumCommands;
class ImageButton;
class PrintPreview;
class Prompter;
class TLayoutTab;

class TOutputTab : public QWidget {
    Q_OBJECT
public:
    static const char* const kPrintTitle;         // "Pixo-Rahmler Dokument"
    static const char* const kPicturePrintTitle;  // from the add tab
    static const char* const kViewerPrintTitle;   // from the viewer

    // Fills `area` (the tab's content area). Album, prompter and layout tab must outlive the tab.
    TOutputTab(Album& album, Prompter& prompter, TLayoutTab& layout, QWidget* area);
    ~TOutputTab() override;

    // The status bar's progress for raising picture quality before printing, and for the pages.
    void setProgress(ProgressFn progress) { progress_ = std::move(progress); }
    // Stopping "Go!" between two pages: `button` (the progress panel's "Abbrechen") is shown
    // while pages go out and keeps its input meanwhile; `requested` says whether it was pressed
    // since `show(true)`.
    struct PrintStop {
        QWidget* button = nullptr;
        std::function<void(bool visible)> show;
        std::function<bool()> requested;
    };
    void setPrintStop(PrintStop stop) { stop_ = std::move(stop); }
    // Whether "Go!" is sending pages (the window then takes no other input).
    bool printing() const { return printing_; }
    // The preview draws stand-ins while workers decode pictures (see TLayoutTab).
    void setAsyncPictures(bool async);

    // The printer that printing, the setup and the preview use (the layout tab's).
    QPrinter& printer();

    // "Go!": raise qualities, ask for the printer, print pages 1..page count. False when nothing
    // or not everything was printed (cancelled, or the printer failed, which is reported).
    bool GoBtn1Click();
    void SetupBtnClick();
    // The layout tab's settings for printing, the preview and export: with cut marks when the
    // check box asks for them.
    PageRenderOptions outputOptions() const;
    // "Als Bild speichern...": false when cancelled or failed (failures are reported).
    bool SaveBitBtnClick();
    void APageEd2Change();
    void PaintBox3Paint();

    // "Drucken..." of the add tab for album picture i: the picture as read from its file (the
    // preview pane is reloaded first when it shows another file), then "Bild drucken...".
    bool PrintBtnClick(AlbumCommands& commands, int i);
    // "Bild drucken..." for one picture, owned by `owner` (may be null), printed with `jobTitle`
    // on OK. The dialog is gone when this returns. False when cancelled or failed.
    bool printSinglePicture(const ImageBuffer& picture, const QString& path, QWidget* owner,
                            const QString& jobTitle);

    // Controls, named as they have always been.
    ImageButton* GoBtn1 = nullptr;
    ImageButton* SetupBtn = nullptr;
    QSpinBox* APageEd2 = nullptr;
    QPushButton* SaveBitBtn = nullptr;
    QSpinBox* BitDPIED = nullptr;
    QCheckBox* CutMarksCheck = nullptr;  // "Schnittmarken drucken": kept in the settings
    QScrollArea* ScrollBox3 = nullptr;
    PrintPreview* PaintBox3 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildControls();
    void layoutPageChanged(int page);
    void printerChanged();
    // Asks when placements lie beyond `pages`; true to go on, `pages` raised when asked to.
    bool confirmPageCount(int& pages);
    // Asks before a file printed into is replaced, unless the print dialog asked already.
    bool confirmReplacing(const QString& file);
    void reportQualityFailures();
    // Sends the pages of `album` one by one, returning to the event loop between two of them;
    // `stopped` tells whether the user stopped it (the document is then abandoned).
    bool printStoppable(QPagedPaintDevice& device, const Album& album, int pages, bool& stopped);

    Album& album_;
    Prompter& prompter_;
    TLayoutTab& layout_;
    ProgressFn progress_;
    PrintStop stop_;
    bool printing_ = false;
    QString exportFolder_;
    WheelNotches wheel_;
};

}  // namespace pr
