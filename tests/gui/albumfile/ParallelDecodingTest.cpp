// The one parallel loop behind adding marked files and opening an album.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "album/PictureDecoding.h"

using pr::forEachInParallel;

TEST(ForEachInParallel, EveryItemOnceAndTicksEndWithTheTotal) {
    struct Case {
        std::size_t count;
        unsigned threads;
    };
    for (const Case& c :
         {Case{0, 4}, Case{1, 4}, Case{7, 1}, Case{3, 8}, Case{200, 3}, Case{50, 0}}) {
        SCOPED_TRACE(std::to_string(c.count) + " items, " + std::to_string(c.threads) + " threads");
        std::vector<std::atomic<int>> runs(c.count);
        std::vector<int> ticks;
        const std::thread::id caller = std::this_thread::get_id();
        bool ticksOnCaller = true;
        forEachInParallel(
            c.count, c.threads,
            [&](std::size_t i) {
                runs[i]++;
                if (c.count > 100) std::this_thread::sleep_for(std::chrono::microseconds(200));
            },
            [&](int done) {
                ticks.push_back(done);
                ticksOnCaller = ticksOnCaller && std::this_thread::get_id() == caller;
            },
            1);
        for (std::size_t i = 0; i < c.count; ++i) EXPECT_EQ(runs[i].load(), 1) << i;
        EXPECT_TRUE(ticksOnCaller);
        EXPECT_TRUE(std::is_sorted(ticks.begin(), ticks.end()));
        if (c.count > 0) {
            ASSERT_FALSE(ticks.empty());
            EXPECT_EQ(ticks.back(), static_cast<int>(c.count));
        }
        // One thread reports after every item, so a progress bar moves in whole steps.
        if (c.threads == 1) {
            EXPECT_EQ(ticks.size(), c.count);
        }
    }
}
