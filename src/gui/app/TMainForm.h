#pragma once
// TMainForm: the program's frame. It builds the toolbar, the four work tabs with their header
// strips, the bottom bar with the "about" and "exit" image buttons and the status bar with its
// progress panel; it owns the album and the dialog service. The tabs' own contents are separate
// classes that fill contentArea(tab) and register their stored values in storedValues().
//
// Lifetime: made first and kept for the whole run. Closing always asks (every way of closing goes
// through closeEvent); the stored control values are written once closing was allowed, or at the
// latest when the window is destroyed.

#include <QMainWindow>
#include <memory>

#include "core/album/Album.h"
#include "gui/app/CursorSlots.h"
#include "gui/toolkit/Prompter.h"
#include "gui/toolkit/StoredValues.h"

class QAction;
class QLabel;
class QTabWidget;
class QToolBar;

namespace pr {

class AlbumCommands;
class ImageButton;
class TLayoutTab;
class TOutputTab;
class ProgressPanel;
class TabHeader;
class TAddTab;
class TSortTab;
class TViewPicForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    enum Tab { AddTab = 0, SortTab = 1, LayoutTab = 2, OutputTab = 3, TabCount = 4 };

    // `prompter` (may be null: a QtPrompter on this window is used) must outlive the window.
    explicit TMainForm(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    static QString windowCaptionFor(const QString& albumPath);

    Album& album() { return *album_; }
    Prompter& prompter() { return *prompter_; }
    StoredValues& storedValues() { return storedValues_; }
    const CursorSlots& cursorSlots() const { return *cursors_; }
    // Folder of the program file, with a trailing '/'.
    const QString& ProgramFolder() const { return programFolder_; }

    QTabWidget* pageControl() const { return PageControl2; }
    TabHeader* tabHeader(int tab) const;
    // The empty area below a tab's header strip, for the tab's own class to fill.
    QWidget* contentArea(int tab) const;

    QAction* newAction() const { return NewBtn; }
    QAction* openAction() const { return OpenBtn; }
    QAction* saveAction() const { return SaveBtn; }
    QAction* saveAsAction() const { return SaveAsBtn; }
    QToolBar* toolBar() const { return toolBar_; }

    TLayoutTab* layoutTab() const { return layoutTab_; }
    // "Drucken/Als Bild speichern"; also prints single pictures for the add tab and the viewer.
    TOutputTab* outputTab() const { return outputTab_; }

    ImageButton* aboutButton() const { return aboutBtn_; }
    ImageButton* exitButton() const { return exitBtn_; }

    // The large picture viewer, made at start and reused.
    TViewPicForm* viewPicForm() const { return viewPicForm_; }

    ProgressPanel* progressPanel() const { return progress_; }
    void setStatusText(const QString& text);
    QString statusText() const;

    // Progress of a long operation on the window thread, 0..100; drawn at once.
    void SetProStatus(int percent);
    // Sets the album's file name and the caption; an empty path means an untitled album.
    void Setsavedfilename(const QString& path);

public slots:
    // For work that is not on the window thread, or that must not draw right now: invoke this
    // with Qt::QueuedConnection and the value arrives with the next turn of the event loop.
    void postProgress(int percent);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void buildTabs();
    QWidget* buildBottomBar();
    void buildStatusBar();
    void centreOnScreen();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void saveStoredValues();

    void AboutBtnClick();
    void ExitBtnClick();

    // Start-up steps that arrive with the browser and the layout tab. Their place in FormCreate
    // matters: the file filter before the tree, the favourites after the tree was pointed at the
    // program folder (so that a first favourite wins), browsing last.
    void setupFileTypeFilter();
    void pointFolderTreeAtProgramFolder();
    void readFavourites();
    void disablePlacementControls();

    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<Album> album_;
    std::unique_ptr<CursorSlots> cursors_;
    StoredValues storedValues_;
    QString programFolder_;
    bool shownOnce_ = false;
    bool valuesSaved_ = false;

    QToolBar* toolBar_ = nullptr;
    QAction* NewBtn = nullptr;
    QAction* OpenBtn = nullptr;
    QAction* SaveBtn = nullptr;
    QAction* SaveAsBtn = nullptr;
    QTabWidget* PageControl2 = nullptr;
    TabHeader* headers_[TabCount] = {};
    QWidget* contents_[TabCount] = {};
    ImageButton* aboutBtn_ = nullptr;
    ImageButton* exitBtn_ = nullptr;
    QLabel* statusText_ = nullptr;
    ProgressPanel* progress_ = nullptr;
    TLayoutTab* layoutTab_ = nullptr;
    TOutputTab* outputTab_ = nullptr;
    AlbumCommands* albumCommands_ = nullptr;
    TAddTab* addTab_ = nullptr;
    TSortTab* sortTab_ = nullptr;
    TViewPicForm* viewPicForm_ = nullptr;
};

}  // namespace pr
