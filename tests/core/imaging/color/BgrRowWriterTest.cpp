// One row of library pixels into a picture row: channel order, alpha over white, colours first.

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "core/imaging/codecs/BgrRowWriter.h"

using namespace pr;

namespace {

std::vector<uint8_t> write(PixelLayout layout, bool premultiplied, std::vector<uint8_t> in,
                           SrgbTransform colour = {}) {
    const int width = static_cast<int>(in.size()) / bytesPerPixel(layout);
    std::vector<uint8_t> out(static_cast<size_t>(width) * 3, 0xAA);
    BgrRowWriter(layout, premultiplied, colour).write(in.data(), width, out.data());
    return out;
}

TEST(BgrRowWriter, LaysAlphaOverWhite) {
    const struct {
        const char* what;
        PixelLayout layout;
        bool premultiplied;
        std::vector<uint8_t> in, out;
    } cases[] = {
        {"RGB swaps to BGR", PixelLayout::Rgb, false, {10, 20, 30}, {30, 20, 10}},
        {"BGR as it is", PixelLayout::Bgr, false, {10, 20, 30}, {10, 20, 30}},
        {"grey fans out", PixelLayout::Grey, false, {77, 200}, {77, 77, 77, 200, 200, 200}},
        {"opaque, clear, half",
         PixelLayout::Rgba,
         false,
         {10, 20, 30, 255, 10, 20, 30, 0, 0, 100, 200, 128},
         {30, 20, 10, 255, 255, 255, 227, 177, 127}},
        {"grey and alpha",
         PixelLayout::GreyAlpha,
         false,
         {0, 51, 200, 255},
         {204, 204, 204, 200, 200, 200}},
        {"premultiplied",
         PixelLayout::Rgba,
         true,
         {0, 50, 100, 128, 0, 0, 0, 0, 200, 10, 10, 200},
         {227, 177, 127, 255, 255, 255, 65, 65, 255}},
    };
    for (const auto& c : cases) EXPECT_EQ(write(c.layout, c.premultiplied, c.in), c.out) << c.what;
}

TEST(BgrRowWriter, ConvertsColoursBeforeAlpha) {
    const std::vector<uint8_t> adobe =
        testsupport::readAll("/usr/share/color/icc/compatibleWithAdobeRGB1998.icc");
    const SrgbTransform rgba =
        SrgbTransform::fromIcc(adobe.data(), adobe.size(), PixelLayout::Rgba);
    ASSERT_TRUE(rgba.converts());
    const std::vector<uint8_t> pixels = {0, 200, 0, 255, 0, 200, 0, 0, 0, 200, 0, 128};
    const std::vector<uint8_t> out = write(PixelLayout::Rgba, false, pixels, rgba);
    // The opaque pixel is the converted colour; the clear one is white whatever its colour; the
    // half-covered one is the converted colour laid over white.
    std::vector<uint8_t> opaque(3);
    rgba.toBgr(pixels.data(), opaque.data(), 1);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 3), opaque);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 3, out.begin() + 6), std::vector<uint8_t>(3, 255));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(out[6 + c], (opaque[c] * 128 + 255 * 127 + 127) / 255) << c;
    // A transform made for other pixels is not applied.
    EXPECT_EQ(write(PixelLayout::Rgb, false, {0, 200, 0}, rgba), (std::vector<uint8_t>{0, 200, 0}));
}

}  // namespace
