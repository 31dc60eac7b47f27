#include <gtest/gtest.h>

#include "ProcessingPictures.h"
#include "core/imaging/Resize.h"

using namespace pr;
using namespace proctest;

namespace {

// The sampling rule written out pixel by pixel, the slow and obvious way. 4-, 8- and 24-bit rows
// count from the bottom stored row, 1-bit rows from the top.
ImageBuffer referenceResize(const ImageBuffer& src, int nw, int nh, bool smooth) {
    ImageBuffer r;
    newdib(r, nw, nh, src.bitCount(), src.info, src.tableSize());
    const int w = src.width(), h = src.height();
    const int64_t stepX = int64_t{w} * 1024 / nw, stepY = int64_t{h} * 1024 / nh;
    const bool bilinear = src.bitCount() == 24 && smooth && nw >= w && nh >= h;
    auto stored = [&](int x, int sy) { return getpixel(src, x, h - 1 - sy); };
    for (int y = 0; y < nh; ++y) {
        for (int x = 0; x < nw; ++x) {
            const int sx = static_cast<int>((x * stepX) >> 10);
            const int sy = static_cast<int>((y * stepY) >> 10);
            if (src.bitCount() == 1) {
                setpixel(r, x, y, getpixel(src, sx, sy));
            } else if (!bilinear) {
                setpixel(r, x, nh - 1 - y, stored(sx, sy));
            } else {
                const int fx = static_cast<int>((x * stepX) % 1024);
                const int fy = static_cast<int>((y * stepY) % 1024);
                const int x1 = std::min(sx + 1, w - 1), y1 = std::min(sy + 1, h - 1);
                uint32_t out = 0;
                for (int shift : {0, 8, 16}) {
                    auto c = [&](int px, int py) { return int(stored(px, py) >> shift) & 255; };
                    const int top = (c(sx, sy) * (1023 - fx) + c(x1, sy) * fx) >> 10;
                    const int bottom = (c(sx, y1) * (1023 - fx) + c(x1, y1) * fx) >> 10;
                    out |= static_cast<uint32_t>((top * (1023 - fy) + bottom * fy) >> 10) << shift;
                }
                setpixel(r, x, nh - 1 - y, out);
            }
        }
    }
    return r;
}

void expectSameAsReference(const ImageBuffer& src, int nw, int nh, bool smooth) {
    SCOPED_TRACE(::testing::Message()
                 << src.bitCount() << " bit " << src.width() << "x" << src.height() << " -> " << nw
                 << "x" << nh << (smooth ? " smooth" : ""));
    const std::vector<uint32_t> before = pixels(src);
    ImageBuffer result;
    ASSERT_TRUE(Resize(src, nw, nh, smooth, result));
    const ImageBuffer expected = referenceResize(src, nw, nh, smooth);
    ASSERT_EQ(result.width(), nw);
    ASSERT_EQ(result.height(), nh);
    EXPECT_EQ(result.bitCount(), src.bitCount());
    EXPECT_EQ(pixels(result), pixels(expected));
    EXPECT_EQ(colourTable(result), colourTable(src));
    EXPECT_EQ(pixels(src), before);  // the source is never changed
}

}  // namespace

TEST(Resize, MatchesTheSamplingRuleAtEveryDepth) {
    // Enlarged, reduced, same size, one row, one pixel, only taller (still an enlargement),
    // wider but lower (nearest neighbour even for 24 bits).
    const int sizes[][4] = {{7, 5, 20, 13}, {20, 13, 7, 5}, {3, 3, 3, 3},  {5, 1, 11, 1},
                            {1, 1, 4, 4},   {9, 7, 9, 20},  {9, 7, 20, 5}, {33, 17, 100, 61}};
    uint32_t seed = 1;
    for (int bits : {1, 4, 8, 24}) {
        for (const auto& s : sizes) {
            const ImageBuffer src = randomPicture(s[0], s[1], bits, seed++);
            expectSameAsReference(src, s[2], s[3], true);
            expectSameAsReference(src, s[2], s[3], false);
        }
        // Large enough to be split over threads.
        expectSameAsReference(randomPicture(700, 500, bits, seed++), 1001, 641, true);
    }
    expectSameAsReference(randomPicture(600, 400, 24, seed++), 1000, 701, false);
}

TEST(Resize, WhiteComesOutJustBelowWhiteWhenInterpolated) {
    ImageBuffer white;
    ASSERT_TRUE(newdib(white, 4, 3, 24));
    std::fill(white.bits, white.bits + white.imageBytes(), 255);
    ImageBuffer big;
    ASSERT_TRUE(Resize(white, 10, 9, true, big));
    for (uint32_t v : pixels(big)) ASSERT_EQ(v, 0xFDFDFDu);
    ImageBuffer sharp;
    ASSERT_TRUE(Resize(white, 10, 9, false, sharp));
    for (uint32_t v : pixels(sharp)) ASSERT_EQ(v, 0xFFFFFFu);
}

TEST(Resize, EmptySizesGiveAnEmptyResultInsteadOfDividingByZero) {
    const ImageBuffer src = randomPicture(5, 5, 24, 3);
    for (auto [nw, nh] : {std::pair{0, 5}, {5, 0}, {0, 0}, {-3, 5}}) {
        ImageBuffer result = randomPicture(2, 2, 8, 4);  // previous content is released
        EXPECT_FALSE(Resize(src, nw, nh, true, result));
        EXPECT_FALSE(result.valid());
    }
    ImageBuffer empty, result;
    EXPECT_FALSE(Resize(empty, 5, 5, true, result));
    EXPECT_FALSE(Resize(src, 200000, 5, true, result));  // beyond the limits
    EXPECT_FALSE(result.valid());
    ImageBuffer same = randomPicture(4, 4, 8, 6);  // the result may be the source itself
    ASSERT_TRUE(Resize(same, 8, 8, true, same));
    EXPECT_EQ(same.width(), 8);
}
