// The one parallel loop behind adding marked files and opening an album.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "core/album/PictureDecoding.h"

TEST(ForEachInParallel, EveryItemOnceAndTicksEndWithTheTotal) {
    const std::pair<std::size_t, unsigned> cases[] = {{0, 4}, {1, 4},   {7, 1},
                                                      {3, 8}, {200, 3}, {50, 0}};
    for (auto [count, threads] : cases) {
        SCOPED_TRACE(std::to_string(count) + " items, " + std::to_string(threads) + " threads");
        std::vector<std::atomic<int>> runs(count);
        std::vector<int> ticks;
        bool ticksOnCaller = true;
        pr::forEachInParallel(
            count, threads,
            [&](std::size_t i) {
                runs[i]++;
                if (count > 100) std::this_thread::sleep_for(std::chrono::microseconds(200));
            },
            [&, caller = std::this_thread::get_id()](int done) {
                ticks.push_back(done);
                ticksOnCaller = ticksOnCaller && std::this_thread::get_id() == caller;
            },
            1);
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i].load(), 1) << i;
        EXPECT_TRUE(ticksOnCaller);
        EXPECT_TRUE(std::is_sorted(ticks.begin(), ticks.end()));
        EXPECT_EQ(ticks.empty() ? 0 : ticks.back(), static_cast<int>(count));
        // One thread reports after every item, so a progress bar moves in whole steps.
        if (threads == 1) {
            EXPECT_EQ(ticks.size(), count);
        }
    }
}

// An item whose work throws (a reader running out of memory) reaches `failed` with what it threw
// and counts as done; every other item still runs, on one thread or several.
TEST(ForEachInParallel, AThrowingItemIsReportedAndTheOthersGoOn) {
    for (unsigned threads : {1u, 3u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        std::vector<std::atomic<int>> runs(30);
        std::vector<std::string> messages(30);
        int lastTick = 0;
        pr::forEachInParallel(
            runs.size(), threads,
            [&](std::size_t i) {
                runs[i]++;
                if (i % 10 == 3) throw std::bad_alloc();
                if (i % 10 == 7) throw 7;
            },
            [&](int done) { lastTick = done; }, 1,
            [&](std::size_t i, const std::exception_ptr& error) {
                messages[i] = pr::pictureLoadFailureText(error);
            });
        EXPECT_EQ(lastTick, 30);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].load(), 1) << i;
            EXPECT_EQ(messages[i], i % 10 == 3   ? "Nicht genug Arbeitsspeicher für das Bild."
                                   : i % 10 == 7 ? "Die Bilddatei ist beschädigt."
                                                 : "")
                << i;
        }
    }
}
