#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/imaging/PixelPool.h"

using pr::PixelPool;

namespace {

constexpr size_t kMb = size_t{1} << 20;

TEST(PixelPool, LargeRequestsComeInQuarterOctaveClassesOfWholePages) {
    const struct {
        size_t bytes, capacity;
    } cases[] = {{100, 100},           {kMb - 1, kMb - 1},  // the heap's
                 {kMb, kMb},           {kMb + 1, kMb + kMb / 4},
                 {3 * kMb, 3 * kMb},   {3 * kMb + 5, 3 * kMb + kMb / 2},
                 {36 * kMb, 40 * kMb}, {63 * kMb, 64 * kMb}};
    for (const auto& c : cases) EXPECT_EQ(PixelPool::classCapacity(c.bytes), c.capacity) << c.bytes;
}

// A block let go is handed out again for the next request of its class, cleared when asked to;
// beyond the keep limit the oldest go back to the system.
TEST(PixelPool, FreedBlocksAreReusedClearedAndKeptWithinTheLimit) {
    PixelPool pool;
    pool.setKeepLimit(8 * kMb);
    uint8_t* first = nullptr;
    {
        std::shared_ptr<pr::PixelBlock> a = pool.take(3 * kMb, true);
        ASSERT_TRUE(a);
        EXPECT_TRUE(a->mapped);
        EXPECT_EQ(a->data[3 * kMb - 1], 0);
        std::memset(a->data, 0xAB, 3 * kMb);
        first = a->data;
    }
    EXPECT_EQ(pool.keptBytes(), 3 * kMb);
    {
        std::shared_ptr<pr::PixelBlock> b = pool.take(3 * kMb - 100, true);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->data, first);
        EXPECT_EQ(b->data[0], 0);
        EXPECT_EQ(b->data[3 * kMb - 101], 0);
        EXPECT_EQ(pool.reuses(), 1u);
        EXPECT_EQ(pool.keptBytes(), 0u);

        // Another class is a fresh mapping.
        std::shared_ptr<pr::PixelBlock> c = pool.take(5 * kMb, false);
        ASSERT_TRUE(c);
        EXPECT_NE(c->data, first);
        EXPECT_EQ(pool.freshMappings(), 2u);
    }
    // 3 MB and 5 MB returned: both fit the 8 MB limit. A third block passes it: the oldest goes.
    EXPECT_EQ(pool.keptBytes(), 8 * kMb);
    pool.take(2 * kMb, false).reset();
    EXPECT_LE(pool.keptBytes(), 8 * kMb);
    pool.setKeepLimit(0);
    EXPECT_EQ(pool.keptBytes(), 0u);

    // Small blocks use the heap and are never kept.
    std::shared_ptr<pr::PixelBlock> small = pool.take(1000, true);
    ASSERT_TRUE(small);
    EXPECT_FALSE(small->mapped);
    EXPECT_EQ(small->data[999], 0);
}

}  // namespace
