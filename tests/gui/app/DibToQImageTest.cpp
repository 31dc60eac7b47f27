#include <gtest/gtest.h>

#include <random>

#include "core/imaging/ImageBuffer.h"
#include "render/DibToQImage.h"

namespace {

// The colour a DIB pixel stands for, through the colour table for the palette depths.
QRgb dibColour(const pr::ImageBuffer& dib, int x, int y) {
    const uint32_t v = pr::getpixel(dib, x, y);
    if (dib.bitCount() == 24) return qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    const pr::RgbQuad& c = dib.info->colors[v];
    return qRgb(c.red, c.green, c.blue);
}

}  // namespace

// Every depth, with widths that end mid-byte (1, 4 bit) and rows with padding, filled at random
// and compared pixel by pixel, so that row order, nibble order and BGR order all show.
TEST(DibToQImageTest, EveryDepthKeepsEveryPixelTheRightWayUp) {
    std::mt19937 random(7);
    for (int bits : {1, 4, 8, 24}) {
        for (int width : {1, 3, 9, 10, 17}) {
            const int height = 4;
            pr::ImageBuffer dib;
            ASSERT_TRUE(pr::newdib(dib, width, height, bits));
            for (int i = 0; i < dib.tableSize(); ++i)
                dib.info->colors[i] =
                    pr::RgbQuad{uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
            const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) pr::setpixel(dib, x, y, random() & mask);

            const QImage image = pr::dibToQImage(dib);
            ASSERT_EQ(image.size(), QSize(width, height)) << bits << " bit, width " << width;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(image.pixel(x, y), dibColour(dib, x, y))
                        << bits << " bit, width " << width << " at " << x << "," << y;
            pr::deldib(dib);
        }
    }
}

TEST(DibToQImageTest, ImageOwnsItsPixelsAndAnEmptyBufferGivesNothing) {
    pr::ImageBuffer dib;
    EXPECT_TRUE(pr::dibToQImage(dib).isNull());

    ASSERT_TRUE(pr::newdib(dib, 2, 2, 24));
    pr::setpixel(dib, 0, 0, 0x0000FF);
    const QImage image = pr::dibToQImage(dib);
    pr::deldib(dib);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}
