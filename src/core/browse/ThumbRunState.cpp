#include "core/browse/ThumbRunState.h"

namespace pr {

ThumbRunActions ThumbRunState::start(const std::string& folder, ThumbRunActions actions) {
    if (folder.empty()) return actions;
    restart_ = false;
    running_ = true;
    stopRequested_ = false;
    runFolder_ = folder;
    actions.emptyGrid = true;
    actions.startRun = true;
    actions.runFolder = folder;
    return actions;
}

ThumbRunActions ThumbRunState::startBrowsing(const std::string& selectedFolder) {
    ThumbRunActions actions;
    actions.emptyGrid = true;
    if (running_) {
        restart_ = true;
        stopRequested_ = true;
        actions.requestStop = true;
        return actions;
    }
    return start(selectedFolder, actions);
}

ThumbRunActions ThumbRunState::treeChanging() {
    ThumbRunActions actions;
    if (running_) {
        restart_ = true;
        stopRequested_ = true;
        actions.requestStop = true;
    }
    return actions;
}

ThumbRunActions ThumbRunState::treeChanged(bool browserTabActive,
                                           const std::string& selectedFolder) {
    if (!browserTabActive) return {};
    return startBrowsing(selectedFolder);
}

ThumbRunActions ThumbRunState::tabChanged(bool browserTabActive,
                                          const std::string& selectedFolder) {
    if (running_) {
        restart_ = false;
        stopRequested_ = true;
    }
    ThumbRunActions actions = treeChanged(browserTabActive, selectedFolder);
    if (running_ && stopRequested_) actions.requestStop = true;
    return actions;
}

ThumbRunActions ThumbRunState::threadDone(const std::string& selectedFolder) {
    ThumbRunActions actions;
    if (!running_) return actions;
    running_ = false;
    stopRequested_ = false;
    actions.saveCache = true;
    actions.saveFolder = runFolder_;
    if (restart_ && !selectedFolder.empty()) return start(selectedFolder, actions);
    restart_ = false;
    return actions;
}

ThumbRunActions ThumbRunState::closing() {
    ThumbRunActions actions;
    restart_ = false;
    if (running_) {
        stopRequested_ = true;
        actions.requestStop = true;
    }
    return actions;
}

}  // namespace pr
