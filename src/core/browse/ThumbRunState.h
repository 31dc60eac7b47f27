#pragma once
// The thumbnail browser's runs as a state table, apart from threads and widgets: each event
// returns what the window has to do, and the window does it in the order save, empty, stop,
// start. A run is one pass of the loader over one folder.
//
// Rules the table keeps:
//  - At most one run. A new run starts only while none exists or when the old one has ended
//    (threadDone); a request in between sets `restart` and asks the old run to stop.
//  - Every run starts on an empty grid, so the grid, and the cache file written from it, only ever
//    hold cells of the run's own folder. Without this, a folder change while "Dateiliste" is
//    showing would restart the run on top of the previous folder's cells and store them all in
//    the new folder's cache.
//  - The cache file is written from the grid when a run ends, for the folder of that run; an
//    emptied grid writes nothing, so the file stays as it was.

#include <string>

namespace pr {

struct ThumbRunActions {
    bool saveCache = false;  // write `saveFolder`'s cache file from the grid
    std::string saveFolder;
    bool emptyGrid = false;
    bool requestStop = false;  // ask the current run to stop; its outstanding steps do nothing
    bool startRun = false;     // start a run for `runFolder`
    std::string runFolder;
};

class ThumbRunState {
public:
    bool running() const { return running_; }
    bool restartRequested() const { return restart_; }
    bool stopRequested() const { return stopRequested_; }
    // The folder of the current or last run.
    const std::string& runFolder() const { return runFolder_; }

    // Empties the grid and starts a run, or requests one once the current run has ended. An empty
    // folder (a tree node that is no file-system folder) starts nothing.
    ThumbRunActions startBrowsing(const std::string& selectedFolder);
    // Before the tree's selection moves.
    ThumbRunActions treeChanging();
    // After it moved. Only the browser tab browses; on "Dateiliste" the grid keeps its cells.
    ThumbRunActions treeChanged(bool browserTabActive, const std::string& selectedFolder);
    // The inner tab changed to the browser (true) or the file list (false).
    ThumbRunActions tabChanged(bool browserTabActive, const std::string& selectedFolder);
    // The loader of the current run has ended; `selectedFolder` is the tree's folder now.
    ThumbRunActions threadDone(const std::string& selectedFolder);
    // The program is closing: stop, and start nothing afterwards.
    ThumbRunActions closing();

private:
    ThumbRunActions start(const std::string& folder, ThumbRunActions actions);
    bool running_ = false;
    bool restart_ = false;
    bool stopRequested_ = false;
    std::string runFolder_;
};

}  // namespace pr
