#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "imaging/RasterLibrary.h"
#include "imaging/codecs/BmpPixels.h"

using namespace pr;
using namespace testsupport;

namespace {

uint32_t rgbAt(const ImageBuffer& img, int x, int y) {
    const uint32_t v = getpixel(img, x, y);
    if (img.bitCount() == 24) return v;
    const RgbQuad& q = img.info->colors[v];
    return q.red | (q.green << 8) | (q.blue << 16);
}

// Largest difference of one colour channel, or 1000 when the sizes differ.
int maxDiff(const ImageBuffer& img, const Rgb& ref) {
    if (!img.valid() || img.width() != ref.width || img.height() != ref.height) return 1000;
    int worst = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint32_t a = rgbAt(img, x, y), b = ref.at(x, y);
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
        }
    return worst;
}

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A Windows bitmap with a 40-byte header, `colors` table entries and the given pixel bytes.
std::vector<uint8_t> makeBmp(int w, int h, int bits, uint32_t compression,
                             const std::vector<RgbQuad>& colors, const std::vector<uint8_t>& pixels) {
    const size_t off = 14 + 40 + colors.size() * 4;
    std::vector<uint8_t> f(off);
    f[0] = 'B';
    f[1] = 'M';
    put32(f, 2, uint32_t(off + pixels.size()));
    put32(f, 10, uint32_t(off));
    put32(f, 14, 40);
    put32(f, 18, uint32_t(w));
    put32(f, 22, uint32_t(h));
    put16(f, 26, 1);
    put16(f, 28, uint32_t(bits));
    put32(f, 30, compression);
    put32(f, 46, uint32_t(colors.size()));
    for (size_t i = 0; i < colors.size(); ++i) std::memcpy(&f[54 + 4 * i], &colors[i], 4);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

DecodeResult decode(const std::vector<uint8_t>& bytes, ImageBuffer& img) {
    return decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img);
}

const std::vector<RgbQuad> kGreys4 = {{0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0}, {255, 255, 255, 0}};

}  // namespace

// Files written by ImageMagick and netpbm, each compared with the picture it was made from.
struct BmpVariant {
    const char* name;
    const char* quantize;  // convert options that make the reference picture
    const char* encode;    // command with %s for input and output
    int bits;              // expected depth after decoding
    int tolerance;
};

class BmpFromEncoders : public ::testing::TestWithParam<BmpVariant> {};

TEST_P(BmpFromEncoders, DecodesLikeTheSource) {
    const BmpVariant& v = GetParam();
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(37, 23, 7)));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("src.ppm") + " " + v.quantize + " -depth 8 " +
                    dir.file("ref.ppm")));
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, v.encode, dir.file("ref.ppm").c_str(), dir.file("pic.bmp").c_str());
    ASSERT_TRUE(run(cmd)) << cmd;
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, dir.file("pic.bmp"), kFormatBmp)) << img.message;
    EXPECT_EQ(img.bitCount(), v.bits);
    EXPECT_LE(maxDiff(img, readNetpbm(dir.file("ref.ppm"))), v.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, BmpFromEncoders,
    ::testing::Values(
        BmpVariant{"Rgb24", "", "/usr/bin/convert %s BMP3:%s", 24, 0},
        BmpVariant{"Palette8", "-colors 200", "ppmtobmp -bpp 8 %s > %s 2>/dev/null", 8, 0},
        BmpVariant{"Palette4", "-colors 16", "/usr/bin/convert %s -type Palette BMP3:%s", 4, 0},
        BmpVariant{"Mono1", "-colors 2", "/usr/bin/convert %s -type Palette BMP3:%s", 1, 0},
        BmpVariant{"Rle8", "-colors 100", "/usr/bin/convert %s -type Palette -compress RLE BMP3:%s", 8, 0},
        BmpVariant{"Rle8FewColours", "-colors 12", "/usr/bin/convert %s -type Palette -compress RLE BMP3:%s", 8, 0},
        BmpVariant{"Os2Rgb24", "", "/usr/bin/convert %s BMP2:%s", 24, 0},
        BmpVariant{"Os2Palette8", "-colors 100", "ppmtobmp -os2 -bpp 8 %s > %s 2>/dev/null", 8, 0},
        BmpVariant{"Os2Palette4", "-colors 16", "/usr/bin/convert %s -type Palette BMP2:%s", 4, 0},
        // ImageMagick truncates to 5 and 6 bits, so the source differs by up to 255/31.
        BmpVariant{"Rgb565", "", "/usr/bin/convert %s -define bmp:subtype=RGB565 BMP:%s", 24, 9},
        BmpVariant{"Rgb555", "", "/usr/bin/convert %s -define bmp:subtype=RGB555 BMP:%s", 24, 9},
        BmpVariant{"Bgra32Bitfields", "", "/usr/bin/convert %s -alpha set -type TrueColorAlpha BMP:%s", 24, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpCodec, TopDownFileIsStoredBottomUp) {
    // Three rows, one colour each, listed top row first.
    std::vector<uint8_t> px = {0, 0, 255, 0, 0, 255, 0, 0,  // red (padded to 8 bytes)
                               0, 255, 0, 0, 255, 0, 0, 0,  // green
                               255, 0, 0, 255, 0, 0, 0, 0};  // blue
    ImageBuffer img;
    ASSERT_TRUE(decode(makeBmp(2, -3, 24, 0, {}, px), img).ok());
    ASSERT_EQ(img.height(), 3);
    EXPECT_EQ(getpixel(img, 1, 0), 0x0000FFu);
    EXPECT_EQ(getpixel(img, 0, 1), 0x00FF00u);
    EXPECT_EQ(getpixel(img, 1, 2), 0xFF0000u);
}

TEST(BmpCodec, ShortColourTableIsPaddedBlackAndStrayIndicesAreHarmless) {
    // 8-bit picture with a 2-entry table whose pixels use indices 0, 1, 7 and 255.
    std::vector<uint8_t> px = {0, 1, 7, 255};
    ImageBuffer img;
    ASSERT_TRUE(decode(makeBmp(4, 1, 8, 0, {{255, 255, 255, 0}, {0, 0, 255, 0}}, px), img).ok());
    EXPECT_EQ(rgbAt(img, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(img, 1, 0), 0x0000FFu);
    EXPECT_EQ(rgbAt(img, 2, 0), 0u);
    EXPECT_EQ(rgbAt(img, 3, 0), 0u);
}

TEST(BmpCodec, BitfieldMasksAreStretchedToFullRange) {
    // 16-bit 5-6-5: pure red, pure green, white, black.
    std::vector<uint8_t> px = {0x00, 0xF8, 0xE0, 0x07, 0xFF, 0xFF, 0x00, 0x00};
    auto f = makeBmp(4, 1, 16, 3, {}, {});
    // Masks follow the 40-byte header, the pixels the masks.
    std::vector<uint8_t> masks(12);
    put32(masks, 0, 0xF800);
    put32(masks, 4, 0x07E0);
    put32(masks, 8, 0x001F);
    f.insert(f.end(), masks.begin(), masks.end());
    put32(f, 10, uint32_t(f.size()));
    f.insert(f.end(), px.begin(), px.end());
    ImageBuffer img;
    ASSERT_TRUE(decode(f, img).ok());
    EXPECT_EQ(img.bitCount(), 24);
    EXPECT_EQ(getpixel(img, 0, 0), 0x0000FFu);
    EXPECT_EQ(getpixel(img, 1, 0), 0x00FF00u);
    EXPECT_EQ(getpixel(img, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(getpixel(img, 3, 0), 0u);
}

TEST(BmpCodec, Rle8RunsDeltasAndAbsoluteRunsStayInsideThePicture) {
    const std::vector<uint8_t> rle = {
        6, 1,              // run of 6 on a 4-wide row: clipped at the row end
        0, 0,              // end of line
        0, 2, 1, 1,        // delta: one right, one up (row 2)
        0, 5, 3, 3, 3, 3, 3, 0,  // absolute run of 5 from x=1: clipped, padding kept in step
        0, 2, 0, 200,      // delta far past the top
        9, 2,              // never written
        0, 1};
    ImageBuffer img;
    ASSERT_TRUE(decode(makeBmp(4, 3, 8, 1, kGreys4, rle), img).ok());
    // Bottom stored row is y = 2 as seen.
    for (int x = 0; x < 4; ++x) EXPECT_EQ(getpixel(img, x, 2), 1u) << x;
    EXPECT_EQ(getpixel(img, 0, 0), 0u);
    for (int x = 1; x < 4; ++x) EXPECT_EQ(getpixel(img, x, 0), 3u) << x;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(getpixel(img, x, 1), 0u) << x;
}

TEST(BmpCodec, Rle4HighNibbleFirstAndClipped) {
    const std::vector<uint8_t> rle = {
        5, 0x12,           // 1 2 1 2 1 on a 3-wide row: clipped
        0, 0,
        0, 3, 0x32, 0x10,  // absolute 3 2 1
        0, 0,
        0, 9, 0x11,        // absolute run cut off by the end of the data
    };
    ImageBuffer img;
    ASSERT_TRUE(decode(makeBmp(3, 3, 4, 2, kGreys4, rle), img).ok());
    EXPECT_EQ(img.bitCount(), 4);
    EXPECT_EQ(getpixel(img, 0, 2), 1u);
    EXPECT_EQ(getpixel(img, 1, 2), 2u);
    EXPECT_EQ(getpixel(img, 2, 2), 1u);
    EXPECT_EQ(getpixel(img, 0, 1), 3u);
    EXPECT_EQ(getpixel(img, 1, 1), 2u);
    EXPECT_EQ(getpixel(img, 2, 1), 1u);
    EXPECT_EQ(getpixel(img, 0, 0), 1u);
    EXPECT_EQ(getpixel(img, 1, 0), 1u);
}

TEST(BmpCodec, TruncatedRowsBecomeWhite) {
    TempDir dir;
    const Rgb src = patternPicture(20, 10, 3);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("src.ppm") + " BMP3:" + dir.file("a.bmp")));
    auto bytes = readAll(dir.file("a.bmp"));
    // Header plus four and a half of the ten bottom-up rows (60 bytes each).
    bytes.resize(54 + 4 * 60 + 30);
    ImageBuffer img;
    ASSERT_TRUE(decode(bytes, img).ok());
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(getpixel(img, x, 9), src.at(x, 9));  // bottom row came first
        EXPECT_EQ(getpixel(img, x, 6), src.at(x, 6));
        EXPECT_EQ(getpixel(img, x, 0), 0xFFFFFFu);
    }
    EXPECT_EQ(getpixel(img, 0, 5), src.at(0, 5));     // first half of the cut row
    EXPECT_EQ(getpixel(img, 19, 5), 0xFFFFFFu);
}

TEST(BmpCodec, BrokenHeadersGiveAMessageAndNoPicture) {
    const std::vector<uint8_t> row = {1, 2, 3, 0};
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        ImageError error;
    };
    std::vector<Case> cases = {
        {"huge, no data", makeBmp(65536, 65536, 24, 0, {}, {}), ImageError::TooLarge},
        {"huge negative", makeBmp(70000, -70000, 8, 0, {}, row), ImageError::TooLarge},
        {"no pixel data", makeBmp(100, 100, 24, 0, {}, {}), ImageError::Damaged},
        {"zero width", makeBmp(0, 5, 24, 0, {}, row), ImageError::Damaged},
        {"RLE8 on 24 bits", makeBmp(1, 1, 24, 1, {}, row), ImageError::Damaged},
        {"bit count 7", makeBmp(1, 1, 7, 0, {}, row), ImageError::Unsupported},
        {"only the magic", {'B', 'M', 0, 0}, ImageError::Damaged},
    };
    auto hugeHeader = makeBmp(1, 1, 24, 0, {}, row);
    put32(hugeHeader, 14, 0xFFFFFFF0u);  // header size beyond the file
    cases.push_back({"header size", hugeHeader, ImageError::Damaged});
    for (const Case& c : cases) {
        ImageBuffer img;
        ASSERT_TRUE(newdib(img, 2, 2, 8));  // an old picture must not survive a failure
        const DecodeResult r = decode(c.bytes, img);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(img.bits, nullptr) << c.what;
        EXPECT_GT(img.message.size(), 5u) << c.what;
    }
}

TEST(BmpPixels, NonContiguousAndEmptyMasksDoNotOverflow) {
    const uint32_t masks[3] = {0xFFFFFFFFu, 0, 0x80000001u};
    const uint8_t px[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    uint8_t out[3] = {1, 1, 1};
    convertBitfieldRow(px, 1, 32, masks, out);
    EXPECT_EQ(out[2], 255);  // red
    EXPECT_EQ(out[1], 0);    // no green mask
    EXPECT_EQ(out[0], 255);  // blue
}
