#include <gtest/gtest.h>

#include <vector>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Orientation.h"

using namespace pr;

// A 3 x 2 stored picture with distinct values:   0 1 2
//                                                3 4 5
// turned upright for every tag and every depth (packed depths have their own pixel code).
TEST(Orientation, TurnsAndMirrorsAsTheTagSays) {
    const std::vector<std::vector<int>> expected[9] = {
        {},
        {{0, 1, 2}, {3, 4, 5}},
        {{2, 1, 0}, {5, 4, 3}},
        {{5, 4, 3}, {2, 1, 0}},
        {{3, 4, 5}, {0, 1, 2}},
        {{0, 3}, {1, 4}, {2, 5}},  // transposed
        {{3, 0}, {4, 1}, {5, 2}},  // turned a quarter clockwise
        {{5, 2}, {4, 1}, {3, 0}},
        {{2, 5}, {1, 4}, {0, 3}},  // turned a quarter anticlockwise
    };
    // 1 bit holds only 0 and 1, so its picture is the values' lowest bit.
    for (int bits : {1, 4, 8, 24})
        for (int o = 1; o <= 8; ++o) {
            auto value = [bits](int v) {
                return bits == 1 ? uint32_t(v & 1) : bits == 24 ? uint32_t(v) * 0x010203u : v;
            };
            ImageBuffer img;
            ASSERT_TRUE(newdib(img, 3, 2, bits));
            for (int i = 0; i < 6; ++i) setpixel(img, i % 3, i / 3, value(i));
            ASSERT_TRUE(applyOrientation(img, o));
            const auto& want = expected[o];
            ASSERT_EQ(img.height(), int(want.size())) << o;
            ASSERT_EQ(img.width(), int(want[0].size())) << o;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    EXPECT_EQ(getpixel(img, x, y), value(want[y][x]))
                        << "orientation " << o << " bits " << bits << " at " << x << "," << y;
        }
}

// Mirroring packed rows must keep pixels that share a byte apart, also for odd widths.
TEST(Orientation, MirrorsPackedRowsOfAnyWidth) {
    for (int bits : {1, 4})
        for (int width : {1, 2, 7, 9, 17}) {
            ImageBuffer img;
            ASSERT_TRUE(newdib(img, width, 1, bits));
            const uint32_t mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) setpixel(img, x, 0, uint32_t(x * 5 + 3) & mask);
            ASSERT_TRUE(applyOrientation(img, 2));
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(getpixel(img, x, 0), uint32_t((width - 1 - x) * 5 + 3) & mask)
                    << bits << " bits, width " << width << " at " << x;
        }
}
