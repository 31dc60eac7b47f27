#include <gtest/gtest.h>

#include "ProcessingPictures.h"
#include "core/imaging/Rotate.h"

using namespace pr;
using namespace proctest;

TEST(Rotate, EveryPixelMovesToItsTurnedPlaceAndBackAtEveryDepth) {
    // Sizes crossing the tile edges, with partly used bytes in 1- and 4-bit rows; the last one is
    // big enough to be turned on two threads.
    const std::pair<int, int> sizes[] = {{1, 1},    {5, 1},    {1, 7},
                                         {100, 50}, {70, 131}, {1100, 1001}};
    uint32_t seed = 100;
    for (int bits : {1, 4, 8, 24}) {
        for (auto [w, h] : sizes) {
            SCOPED_TRACE(::testing::Message() << bits << " bit " << w << "x" << h);
            const ImageBuffer src = randomPicture(w, h, bits, seed++);
            ImageBuffer left = src, right = src;
            ASSERT_TRUE(RotLeft(left));
            ASSERT_TRUE(RotRight(right));
            ASSERT_EQ(right.width(), h);
            ASSERT_EQ(right.height(), w);
            EXPECT_EQ(right.bitCount(), bits);
            EXPECT_EQ(paletteBytes(left), paletteBytes(src));
            EXPECT_EQ(colourTable(right), colourTable(src));
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const uint32_t v = getpixel(src, x, y);
                    ASSERT_EQ(getpixel(left, y, w - 1 - x), v) << x << "," << y;
                    ASSERT_EQ(getpixel(right, h - 1 - y, x), v) << x << "," << y;
                }
            }
            // Three more turns, or the opposite one, give back the first bytes, padding included.
            for (int i = 0; i < 3; ++i) ASSERT_TRUE(RotRight(right));
            ASSERT_TRUE(RotRight(left));
            EXPECT_EQ(allPixelBytes(right), allPixelBytes(src));
            EXPECT_EQ(allPixelBytes(left), allPixelBytes(src));
        }
    }
}
