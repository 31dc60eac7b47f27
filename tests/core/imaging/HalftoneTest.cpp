#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "RecordingTarget.h"
#include "core/imaging/Halftone.h"
#include "core/imaging/RasterLibrary.h"

using namespace pr;
using namespace drawtest;

namespace {

uint32_t rgb(int r, int g, int b) {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

const RgbQuad& colourAt(const ImageBuffer& halftoned, int x, int y) {
    return halftoned.info->colors[getpixel(halftoned, x, y)];
}

// Output carries the fixed palette, and colours of that palette come out unchanged.
TEST(Halftone, PaletteColoursComeOutUnchanged) {
    // Column x holds palette colour x; eight rows meet every row of the dither pattern.
    const BitmapInfo& table = halftoneColorTable();
    const ImageBuffer picture = make24(256, 8, [&](int x, int) {
        return rgb(table.colors[x].red, table.colors[x].green, table.colors[x].blue);
    });
    ImageBuffer out;
    ASSERT_TRUE(DIBHalftoneDIB(out, picture));
    EXPECT_EQ(out.bitCount(), 8);
    EXPECT_EQ(out.paletteHandle, halftonePalette());
    EXPECT_EQ(std::memcmp(out.info->colors, table.colors, sizeof(RgbQuad) * 256), 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(getpixel(out, x, y), uint32_t(x)) << x << "," << y;
}

TEST(Halftone, AverageColourOfUniformAreasStaysClose) {
    // 300 random colours, each a 16 x 16 area (four whole dither periods), plus every grey.
    std::mt19937 random(7);
    std::vector<uint32_t> colours;
    for (int i = 0; i < 300; ++i) colours.push_back(random() & 0xFFFFFF);
    for (int v = 0; v < 256; ++v) colours.push_back(rgb(v, v, v));
    const ImageBuffer picture =
        make24(16, 16 * int(colours.size()), [&](int, int y) { return colours[y / 16]; });
    ImageBuffer out;
    ASSERT_TRUE(DIBHalftoneDIB(out, picture));
    for (size_t n = 0; n < colours.size(); ++n) {
        double sum[3] = {0, 0, 0};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const RgbQuad& q = colourAt(out, x, int(n) * 16 + y);
                sum[0] += q.red;
                sum[1] += q.green;
                sum[2] += q.blue;
            }
        const int want[3] = {int(colours[n] & 0xFF), int(colours[n] >> 8 & 0xFF),
                             int(colours[n] >> 16)};
        const int spread = *std::max_element(want, want + 3) - *std::min_element(want, want + 3);
        // Near-greys are drawn on the grey ramp at their mean; colours keep each channel.
        const double mean = (want[0] + want[1] + want[2]) / 3.0;
        for (int c = 0; c < 3; ++c) {
            if (spread <= 6)
                EXPECT_NEAR(sum[c] / 256, mean, 1.0) << "grey " << colours[n];
            else
                EXPECT_NEAR(sum[c] / 256, want[c], 1.5) << "colour " << std::hex << colours[n];
        }
    }
}

TEST(Halftone, ReductionAveragesTheAreaAndEnlargementTakesTheNearest) {
    // A pixel checkerboard halved: every new pixel is the mean grey 128, never black or white.
    const ImageBuffer board =
        make24(64, 64, [](int x, int y) { return ((x + y) & 1) ? rgb(255, 255, 255) : 0u; });
    ImageBuffer half;
    ASSERT_TRUE(DIBHalftoneDIBXY(half, board, 32, 32));
    double total = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const RgbQuad& q = colourAt(half, x, y);
            ASSERT_TRUE(q.red == q.green && q.green == q.blue);
            ASSERT_GE(q.red, 119);
            ASSERT_LE(q.red, 136);
            total += q.red;
        }
    EXPECT_NEAR(total / (32 * 32), 128, 1.0);

    // One white column in three, reduced across by 3 and enlarged down by 1.5: each new pixel
    // averages to 85, a grey of the ramp, so all come out as exactly that grey.
    const ImageBuffer stripes =
        make24(60, 60, [](int x, int) { return x % 3 == 0 ? rgb(255, 255, 255) : 0u; });
    ImageBuffer mixed;
    ASSERT_TRUE(DIBHalftoneDIBXY(mixed, stripes, 20, 90));
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(colourAt(mixed, x, y).green, 85) << x << "," << y;
}

TEST(Halftone, PalettePicturesGoThroughTheirColourTable) {
    std::mt19937 random(11);
    for (int bits : {1, 4, 8}) {
        ImageBuffer indexed;
        ASSERT_TRUE(newdib(indexed, 37, 23, bits));
        for (int i = 0; i < (1 << bits); ++i)
            indexed.info->colors[i] =
                RgbQuad{uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) setpixel(indexed, x, y, random());
        const ImageBuffer truecolour = make24(37, 23, [&](int x, int y) {
            const RgbQuad& q = indexed.info->colors[getpixel(indexed, x, y)];
            return rgb(q.red, q.green, q.blue);
        });
        for (auto size : {std::pair<int, int>{37, 23}, {12, 30}}) {
            ImageBuffer a, b;
            ASSERT_TRUE(DIBHalftoneDIBXY(a, indexed, size.first, size.second));
            ASSERT_TRUE(DIBHalftoneDIBXY(b, truecolour, size.first, size.second));
            EXPECT_EQ(pixels(a), pixels(b)) << bits << " bits to " << size.first;
        }
    }
}

TEST(Halftone, MayReplaceItsOwnSourceAndRefusesBadInput) {
    ImageBuffer picture = make24(5, 4, [](int, int) { return rgb(0, 255, 0); });
    ASSERT_TRUE(DIBHalftoneDIB(picture, picture));
    EXPECT_EQ(picture.bitCount(), 8);
    EXPECT_EQ(getpixel(picture, 4, 3), 30u);  // 6 * 5: pure green

    ImageBuffer out;
    EXPECT_FALSE(DIBHalftoneDIBXY(out, picture, 0, 4));
    EXPECT_FALSE(out.valid());
    EXPECT_FALSE(DIBHalftoneDIB(out, ImageBuffer{}));
    EXPECT_FALSE(out.message.empty());
    EXPECT_FALSE(DIBHalftoneDIBXY(out, picture, 200000, 1));  // beyond the size limits
}

}  // namespace
