#pragma once
// ThumbBrowser: the thumbnail browser of the tab "Bild Browser": its runs, its loader thread, the
// folder's cache file and the grid (ThumbGrid) it fills.
//
// The add tab drives it with the events of the folder tree and of the inner tabs and connects
// addPictureRequested to the album; the run rules themselves live in core/browse/ThumbRunState.h.
//
// Threads: everything here runs on the window thread. TMyThread only paces the run (and makes the
// thumbnails of cache misses); see TMyThread.h.
//
// Lifetime: the destructor asks a running run to stop and waits for its thread before the cells
// are released, so no step and no end event of the run can reach a destroyed browser. The thread
// does not wait for a decode under way with the built-in maker (see ThumbThread.h), so this takes
// milliseconds, not the second a large photo takes. A run that
// was still going is written to the cache like any stopped run, as long as the grid still exists
// (in the window the grid's page goes first, and the cells made before closing are not stored).

#include <QObject>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/browse/ThumbCacheReader.h"
#include "core/browse/ThumbRunState.h"
#include "core/browse/ThumbStep.h"
#include "gui/browse/ThumbGrid.h"

namespace pr {

class TMyThread;

class ThumbBrowser : public QObject {
    Q_OBJECT
public:
    // The tree's selected folder (empty when the node is no file-system folder).
    using SelectedFolderFn = std::function<QString()>;

    // Fills `page` with the grid.
    ThumbBrowser(QWidget* page, SelectedFolderFn selectedFolder, QObject* parent = nullptr);
    ~ThumbBrowser() override;

    ThumbGrid* grid() const { return grid_; }

    // Replaces the thumbnail maker (default makeThumbnail). It runs on the loader thread; takes
    // effect with the next run.
    void setThumbnailMaker(ThumbMakerFn maker);

    // Empties the grid and browses the tree's folder (at start; on the browser tab after a folder
    // change).
    void Startbrowsing();
    // Before and after the tree's selection moves.
    void JamShellTree1Changing();
    void JamShellTree1Change(bool browserTabActive);
    // The inner tab changed; `browserTabActive` when "Bild Browser" is now showing.
    void PageControl3Change(bool browserTabActive);
    // The program is closing: the run stops and no new one starts.
    void stop();

    bool running() const { return state_.running(); }
    // The folder the grid's cells come from, with the separator at the end; empty before a run.
    QString gridFolder() const;

signals:
    // The user asked to add the picture at `path` to the album; `folder` is its folder with the
    // separator, for the favourites.
    void addPictureRequested(const QString& path, const QString& folder);
    void statusTextChanged(const QString& text);
    // A picture did not load: the progress panel goes back to 0.
    void progressReset();
    // A run's thread has ended and its cache was written.
    void runEnded();

private:
    std::optional<ThumbJob> NextFile();
    // The plain files of `folder`, in the order of the file list.
    static std::vector<std::string> folderEntries(const std::string& folder);
    std::optional<ThumbJob> NewFile(const std::string& name);
    void deliver(const ThumbJob& job, std::optional<ThumbCell> cell);
    void ThreadDone();
    void apply(const ThumbRunActions& actions);
    void startRun(const std::string& folder);
    void saveCache(const std::string& folder);
    void requestStop();
    bool stepsAllowed() const;
    void open(int cell);
    std::string selectedFolder() const;

    QPointer<ThumbGrid> grid_;
    SelectedFolderFn selectedFolder_;
    ThumbMakerFn maker_;
    bool ownMaker_ = true;
    ThumbRunState state_;
    ThumbCacheReader cache_;
    std::unique_ptr<TMyThread> thread_;
    std::vector<std::string> names_;  // the run's folder, read at its first step
    std::size_t next_ = 0;
    bool first_ = true;
    std::string gridFolder_;
};

}  // namespace pr
