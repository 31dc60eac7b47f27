#include <gtest/gtest.h>

#include <array>

#include "core/imaging/DibSize.h"
#include "core/imaging/ImageBuffer.h"

using namespace pr;

TEST(DibSize, RefusesSizesBeyondTheLimitsWithoutWrapping) {
    DibLayout l;
    EXPECT_EQ(computeDibLayout(65536, 65536, 24, l), SizeCheck::TooLarge);
    EXPECT_EQ(computeDibLayout(0x7fffffff, 2, 24, l), SizeCheck::TooLarge);
    EXPECT_EQ(computeDibLayout(-5, 10, 8, l), SizeCheck::BadDimensions);
    EXPECT_EQ(computeDibLayout(10, 10, 7, l), SizeCheck::BadDimensions);
    for (auto [w, h, bits, rowBytes] :
         {std::array{40000, 5000, 24, 120000}, {3, 2, 1, 4}, {5, 1, 24, 16}}) {
        ASSERT_EQ(computeDibLayout(w, h, bits, l), SizeCheck::Ok)
            << w;  // 40000 x 5000: a 200-MP panorama
        EXPECT_EQ(l.rowBytes, rowBytes) << w;
    }
    ImageBuffer b;
    EXPECT_FALSE(newdib(b, 65536, 65536, 24));
    EXPECT_FALSE(b.valid());
    EXPECT_GT(b.message.size(), 5u);
    EXPECT_FALSE(newdib(b, 10, 10, 16));
}

TEST(ImageBuffer, NewdibZeroesAndCopiesShareThePixels) {
    ImageBuffer a;
    ASSERT_TRUE(newdib(a, 7, 3, 24));
    EXPECT_EQ(a.rowBytes, 24);
    EXPECT_EQ(a.info->header.biSizeImage, 72u);
    for (uint64_t i = 0; i < a.imageBytes(); ++i) ASSERT_EQ(a.bits[i], 0);
    ImageBuffer copy = a;
    setpixel(copy, 6, 0, 0x00123456);
    EXPECT_EQ(getpixel(a, 6, 0), 0x00123456u);
    // y counts from the top: the top row is stored last, blue first.
    const uint8_t* top = a.storedRow(2) + 18;
    EXPECT_EQ(top[0] * 256 + top[2], 0x1256);
    deldib(a);
    EXPECT_FALSE(a.valid());
    EXPECT_EQ(getpixel(copy, 6, 0), 0x00123456u);  // the copy keeps the pixels alive
}

TEST(ImageBuffer, PixelAccessAtLowDepths) {
    ImageBuffer b1, b4;
    ASSERT_TRUE(newdib(b1, 9, 2, 1));
    setpixel(b1, 8, 1, 3);  // keeps the lowest bit
    EXPECT_EQ(getpixel(b1, 8, 1), 1u);
    EXPECT_EQ(b1.storedRow(0)[1], 0x80);
    ASSERT_TRUE(newdib(b4, 3, 1, 4));
    setpixel(b4, 0, 0, 0x1A);
    setpixel(b4, 1, 0, 0x05);
    EXPECT_EQ(b4.bits[0], 0xA5);
    EXPECT_EQ(getpixel(b4, 0, 0), 0x0Au);
    EXPECT_EQ(getpixel(b4, 5, 0), 0u);  // outside reads 0
    setpixel(b4, -1, 0, 1);             // and writes nothing
    EXPECT_EQ(b4.palette.numEntries, 16);
}
