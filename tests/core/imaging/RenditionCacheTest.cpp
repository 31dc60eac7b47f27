#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/imaging/RenditionCache.h"

using pr::RenditionCache;
using pr::RenditionKey;

namespace {

RenditionKey key(uint64_t source, int value = 0) {
    RenditionKey k;
    k.source = source;
    k.kind = 4;
    k.values[0] = value;
    return k;
}

std::shared_ptr<const void> value(int v) {
    return std::make_shared<const int>(v);
}

constexpr size_t kMb = size_t{1} << 20;

// Pictures asked for one after another, as a strip scrolled through an album: the cache never
// holds more than its budget once nothing is pinned, and what goes is what was used longest ago.
TEST(RenditionCache, AStreamOfRequestsStaysWithinTheBudgetDroppingTheLeastRecentlyUsed) {
    RenditionCache cache(10 * kMb);
    for (uint64_t i = 1; i <= 100; ++i) {
        cache.insert(key(i), value(int(i)), 3 * kMb);
        EXPECT_LE(cache.usedBytes(), cache.budget()) << "after " << i;
        // The newest and the one before it are kept; three fit.
        EXPECT_TRUE(cache.contains(key(i)));
        if (i > 3) {
            EXPECT_FALSE(cache.contains(key(i - 3)));
        }
    }
    EXPECT_EQ(cache.entryCount(), 3u);
    EXPECT_EQ(cache.evictions(), 97u);

    // Using the oldest of the three makes the middle one the next to go.
    EXPECT_TRUE(cache.find(key(98)));
    cache.insert(key(101), value(101), 3 * kMb);
    EXPECT_TRUE(cache.contains(key(98)));
    EXPECT_FALSE(cache.contains(key(99)));
    EXPECT_TRUE(cache.contains(key(100)));
}

// The renditions of the page being drawn are pinned by their handles: making the page's later
// pictures never drops them, even when the page alone needs more than the budget. Once the page
// is drawn the cache returns to its budget.
TEST(RenditionCache, PinnedEntriesAreNeverDroppedMidDraw) {
    RenditionCache cache(8 * kMb);
    cache.insert(key(50), value(50), 4 * kMb);  // from an earlier page, unpinned
    std::vector<RenditionCache::Handle> page;
    for (uint64_t i = 1; i <= 4; ++i) {
        page.push_back(cache.getOrMake(key(i), [i](std::shared_ptr<const void>& v, size_t& bytes) {
            v = value(int(i));
            bytes = 3 * kMb;
            return true;
        }));
        ASSERT_TRUE(page.back());
        for (uint64_t j = 1; j <= i; ++j) {
            EXPECT_TRUE(cache.pinned(key(j)));
            EXPECT_TRUE(cache.contains(key(j)));
        }
    }
    // 12 MB pinned over a budget of 8: only the unpinned entry went.
    EXPECT_FALSE(cache.contains(key(50)));
    EXPECT_EQ(cache.usedBytes(), 12 * kMb);
    EXPECT_EQ(*page[2].get<int>(), 3);

    page.clear();
    EXPECT_LE(cache.usedBytes(), cache.budget());
    // The most recently made survive.
    EXPECT_TRUE(cache.contains(key(4)));
    EXPECT_TRUE(cache.contains(key(3)));
    EXPECT_FALSE(cache.contains(key(1)));
}

// A dropped entry is only forgotten: whoever still holds its value keeps it alive. A smaller budget
// takes effect at once.
TEST(RenditionCache, DroppingForgetsButHoldersKeepTheValue) {
    RenditionCache cache(16 * kMb);
    std::shared_ptr<const int> held;
    {
        RenditionCache::Handle h = cache.insert(key(1), value(7), 6 * kMb);
        held = h.share<int>();
    }
    cache.insert(key(2), value(8), 6 * kMb);
    cache.setBudget(7 * kMb);
    EXPECT_FALSE(cache.contains(key(1)));
    EXPECT_TRUE(cache.contains(key(2)));
    EXPECT_EQ(*held, 7);

    cache.insert(key(3, 1), value(9), kMb / 2);
    cache.insert(key(3, 2), value(10), kMb / 2);
    cache.dropSource(3);
    EXPECT_FALSE(cache.contains(key(3, 1)));
    EXPECT_FALSE(cache.contains(key(3, 2)));
    EXPECT_TRUE(cache.contains(key(2)));
}

// Several threads asking for one missing rendition make it once; all get the same value.
TEST(RenditionCache, AKeyBeingMadeIsMadeOnceForEveryoneAskingForIt) {
    RenditionCache cache(64 * kMb);
    std::atomic<int> made{0};
    std::vector<std::thread> threads;
    std::vector<const int*> got(6, nullptr);
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            RenditionCache::Handle h =
                cache.getOrMake(key(9), [&](std::shared_ptr<const void>& v, size_t& bytes) {
                    ++made;
                    std::this_thread::yield();
                    v = value(42);
                    bytes = kMb;
                    return true;
                });
            got[t] = h ? h.get<int>() : nullptr;
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(made.load(), 1);
    for (const int* p : got) {
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p, got[0]);
    }
    // A maker that fails leaves nothing behind.
    EXPECT_FALSE(
        cache.getOrMake(key(10), [](std::shared_ptr<const void>&, size_t&) { return false; }));
    EXPECT_FALSE(cache.contains(key(10)));
}

}  // namespace
