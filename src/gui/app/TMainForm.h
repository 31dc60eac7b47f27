#pragma once
// TMainForm: the program's frame. It builds the toolbar, the four work tabs with their header
// strips, the bottom bar with the "about" and "exit" image buttons and the status bar with its
// progress panel; it owns the album and the dialog service. The tabs' own contents are separate
// classes that fill contentArea(tab) and register their stored values in storedValues().
//
// Lifetime: made first and kept for the whole run. Closing always asks (every way of closing goes
// through closeEvent); the stored control values are written once closing was allowed, or at the
// latest when the window is destroyed. The widgets hold the album and the prompter by reference and
// are handed what they need of the window (EditorHooks); when the window goes, they go before the
// album.
//
// Every change of the album ends in albumChanged() or albumEdited(): the strip, the page and the
// print preview are drawn afresh, and the caption shows "*" while the album holds changes that
// were not saved (SavedAlbumState). Closing, "&Neu" and "Ö&ffnen..." then offer "Speichern".

#include <QMainWindow>
#include <memory>

#include "core/album/Album.h"
#include "core/album/SavedAlbumState.h"
#include "gui/app/CursorSlots.h"
#include "gui/layout/EditorHooks.h"
#include "gui/toolkit/Prompter.h"
#include "gui/toolkit/StoredValues.h"

class QAction;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace pr {

class AlbumCommands;
class AlbumFileCommands;
class AlbumHistory;
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

    // The caption for an album file; "*" after the name while there are unsaved changes.
    static QString windowCaptionFor(const QString& albumPath, bool unsaved = false);

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
    QAction* undoAction() const { return UndoBtn; }
    QAction* redoAction() const { return RedoBtn; }
    // "Rückgängig" and "Wiederholen" of the album's changes; exists once the window is made.
    AlbumHistory* history() const { return history_; }
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
    // Sets the album's file name and the caption; an empty path means an untitled album. It is
    // called whenever the album was saved, read or emptied, so the album counts as unchanged.
    void Setsavedfilename(const QString& path);

    // The album was changed as a whole (pictures added, removed, ordered; emptied; read): the
    // strip, the page and the preview are drawn afresh and the caption is brought up to date.
    void albumChanged();
    // A placement, a caption, a picture or a setting was changed and the page already shows it:
    // the preview and the caption follow.
    void albumEdited();
    bool hasUnsavedChanges() const;
    // Asks before the album is given up (closing, "&Neu", "Ö&ffnen..."). With unsaved changes
    // "Speichern" is offered beside OK and Abbrechen; it saves first and goes on only when the
    // album was saved. True when the caller may go on.
    bool confirmLeavingAlbum(const QString& text, const QString& caption);
    // An album change under way (adding pictures, opening an album): it returns to the event loop
    // to show its progress, and closing the window, "&Neu" and "Ö&ffnen..." are refused until it
    // is done. Held by AlbumChange for the change's duration.
    bool albumChanging() const { return albumChanging_ > 0; }
    class AlbumChange {
    public:
        explicit AlbumChange(TMainForm& form) : form_(form) { ++form_.albumChanging_; }
        ~AlbumChange() { --form_.albumChanging_; }
        AlbumChange(const AlbumChange&) = delete;
        AlbumChange& operator=(const AlbumChange&) = delete;

    private:
        TMainForm& form_;
    };
    // Whether the window is busy (an album change, or pages going to the printer): leaving the
    // album is refused then.
    bool busy() const;
    // The progress panel's "Abbrechen", shown while pages go to the printer.
    QPushButton* stopButton() const { return stopBtn_; }

    // Opens the album file at `path` (from the command line) as "Ö&ffnen..." does after its
    // dialog. False when it could not be read (the message was shown).
    bool openAlbumFile(const QString& path);

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
    void releaseWidgets();
    void saveStoredValues();
    // What the page editor shows through the window: status text, cursors, viewer, progress.
    EditorHooks editorHooks();

    void updateCaption();
    void PageControl2Change();
    void AboutBtnClick();
    void ExitBtnClick();

    // Start-up steps that arrive with the browser and the layout tab. Their place in FormCreate
    // matters: the file filter before the tree, the favourites after the tree was pointed at the
    // pictures folder (so that a first favourite wins), browsing last.
    void setupFileTypeFilter();
    void pointFolderTreeAtStart();
    void readFavourites();
    void disablePlacementControls();
    void stopThumbnailBrowser();

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
    QAction* UndoBtn = nullptr;
    QAction* RedoBtn = nullptr;
    AlbumHistory* history_ = nullptr;
    QTabWidget* PageControl2 = nullptr;
    TabHeader* headers_[TabCount] = {};
    QWidget* contents_[TabCount] = {};
    ImageButton* aboutBtn_ = nullptr;
    ImageButton* exitBtn_ = nullptr;
    QLabel* statusText_ = nullptr;
    ProgressPanel* progress_ = nullptr;
    QPushButton* stopBtn_ = nullptr;
    bool stopRequested_ = false;
    int albumChanging_ = 0;
    TLayoutTab* layoutTab_ = nullptr;
    TOutputTab* outputTab_ = nullptr;
    AlbumCommands* albumCommands_ = nullptr;
    AlbumFileCommands* albumFileCommands_ = nullptr;
    SavedAlbumState savedState_;
    TAddTab* addTab_ = nullptr;
    TSortTab* sortTab_ = nullptr;
    TViewPicForm* viewPicForm_ = nullptr;
};

}  // namespace pr
