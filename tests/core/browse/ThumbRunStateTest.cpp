#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/browse/ThumbRunState.h"

using namespace pr;

namespace {

std::string describe(const ThumbRunActions& a) {
    std::string s;
    auto add = [&s](const std::string& piece) { s += (s.empty() ? "" : " ") + piece; };
    if (a.saveCache) add("save(" + a.saveFolder + ")");
    if (a.emptyGrid) add("empty");
    if (a.requestStop) add("stop");
    if (a.startRun) add("start(" + a.runFolder + ")");
    return s;
}

// Events: "start F", "changing", "changed B|L F" (B: browser tab active, L: file list), "tab B|L
// F", "done F" (F: the tree's folder at that moment), "close". A folder "-" stands for none.
std::string play(ThumbRunState& state, const std::string& event) {
    std::istringstream in(event);
    std::string verb, tab, folder;
    in >> verb;
    if (verb == "changed" || verb == "tab") in >> tab;
    in >> folder;
    if (folder == "-") folder.clear();
    const bool browser = tab == "B";
    if (verb == "start") return describe(state.startBrowsing(folder));
    if (verb == "changing") return describe(state.treeChanging());
    if (verb == "changed") return describe(state.treeChanged(browser, folder));
    if (verb == "tab") return describe(state.tabChanged(browser, folder));
    if (verb == "done") return describe(state.threadDone(folder));
    if (verb == "close") return describe(state.closing());
    ADD_FAILURE() << "unknown event " << event;
    return {};
}

}  // namespace

TEST(ThumbRuns, FollowTheStateTable) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> steps;  // event, actions
        bool runningAtEnd;
    } runs[] = {
        {"OneRun", {{"start /a", "empty start(/a)"}, {"done /a", "save(/a)"}}, false},
        {"NoFileSystemFolder", {{"start -", "empty"}}, false},
        {"DoneWhenIdleDoesNothing", {{"done /a", ""}}, false},
        // A folder change mid-run empties the grid at once; the new run starts only when the old
        // one has ended, and the old run's cache write finds an empty grid.
        {"FolderChangeMidRun",
         {{"start /a", "empty start(/a)"},
          {"changing", "stop"},
          {"changed B /b", "empty stop"},
          {"done /b", "save(/a) empty start(/b)"},
          {"done /b", "save(/b)"}},
         false},
        {"FolderChangeOnFileListWhenIdle", {{"changing", ""}, {"changed L /b", ""}}, false},
        // Leaving the browser tab stops the run and keeps its cells for the cache.
        {"LeavingTheBrowserTab",
         {{"start /a", "empty start(/a)"},
          {"tab L /a", "stop"},
          {"done /a", "save(/a)"},
          {"tab B /a", "empty start(/a)"}},
         true},
        {"BrowserTabShownAgainMidRun",
         {{"start /a", "empty start(/a)"},
          {"tab B /a", "empty stop"},
          {"done /a", "save(/a) empty start(/a)"}},
         true},
        // The tree moves while "Dateiliste" shows and the stopped run has not ended yet: the
        // restart must not add the new folder's cells to the old folder's.
        {"FolderChangeOnFileListBeforeTheRunEnded",
         {{"start /a", "empty start(/a)"},
          {"tab L /a", "stop"},
          {"changing", "stop"},
          {"changed L /b", ""},
          {"done /b", "save(/a) empty start(/b)"}},
         true},
        {"RestartIntoNoFolder",
         {{"start /a", "empty start(/a)"}, {"changing", "stop"}, {"done -", "save(/a)"}},
         false},
        {"ClosingCancelsARequestedRestart",
         {{"start /a", "empty start(/a)"},
          {"changing", "stop"},
          {"close", "stop"},
          {"done /b", "save(/a)"}},
         false},
        {"ClosingWhenIdle", {{"close", ""}}, false},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        ThumbRunState state;
        for (const auto& [event, actions] : run.steps)
            EXPECT_EQ(play(state, event), actions) << "after \"" << event << "\"";
        EXPECT_EQ(state.running(), run.runningAtEnd);
    }
}

TEST(ThumbRuns, StopRequestLastsUntilTheRunEnds) {
    ThumbRunState state;
    state.startBrowsing("/a");
    EXPECT_FALSE(state.stopRequested());
    state.treeChanging();
    EXPECT_TRUE(state.stopRequested());
    EXPECT_TRUE(state.restartRequested());
    state.threadDone("/b");
    // The new run's steps are allowed again.
    EXPECT_FALSE(state.stopRequested());
    EXPECT_EQ(state.runFolder(), "/b");
}
