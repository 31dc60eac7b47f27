#include <cstring>

#include "CodecTestSupport.h"
#include "core/imaging/codecs/BmpPixels.h"

using namespace pr;
using namespace testsupport;
using codectest::maxDiff;
using codectest::rgbAt;

namespace {

void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A Windows bitmap with a 40-byte header, `colors` table entries, optional bitfield masks and
// the given pixel bytes.
std::vector<uint8_t> makeBmp(int w, int h, int bits, uint32_t compression,
                             const std::vector<RgbQuad>& colors, const std::vector<uint8_t>& pixels,
                             const std::vector<uint32_t>& masks = {}) {
    const size_t off = 14 + 40 + colors.size() * 4 + masks.size() * 4;
    std::vector<uint8_t> f(off);
    f[0] = 'B', f[1] = 'M', f[26] = 1, f[28] = uint8_t(bits);
    put32(f, 2, uint32_t(off + pixels.size()));
    put32(f, 10, uint32_t(off));
    put32(f, 14, 40);
    put32(f, 18, uint32_t(w));
    put32(f, 22, uint32_t(h));
    put32(f, 30, compression);
    put32(f, 46, uint32_t(colors.size()));
    for (size_t i = 0; i < masks.size(); ++i) put32(f, 54 + 4 * i, masks[i]);
    for (size_t i = 0; i < colors.size(); ++i) std::memcpy(&f[54 + 4 * i], &colors[i], 4);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

const std::vector<RgbQuad> kGreys4 = {
    {0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0}, {255, 255, 255, 0}};

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
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("src.ppm") + " " + v.quantize +
                    " -depth 8 " + dir.file("ref.ppm")));
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, v.encode, dir.file("ref.ppm").c_str(),
                  dir.file("pic.bmp").c_str());
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
        BmpVariant{"Rle8", "-colors 100", "/usr/bin/convert %s -type Palette -compress RLE BMP3:%s",
                   8, 0},
        BmpVariant{"Rle8FewColours", "-colors 12",
                   "/usr/bin/convert %s -type Palette -compress RLE BMP3:%s", 8, 0},
        BmpVariant{"Os2Rgb24", "", "/usr/bin/convert %s BMP2:%s", 24, 0},
        BmpVariant{"Os2Palette8", "-colors 100", "ppmtobmp -os2 -bpp 8 %s > %s 2>/dev/null", 8, 0},
        BmpVariant{"Os2Palette4", "-colors 16", "/usr/bin/convert %s -type Palette BMP2:%s", 4, 0},
        // ImageMagick truncates to 5 and 6 bits, so the source differs by up to 255/31.
        BmpVariant{"Rgb565", "", "/usr/bin/convert %s -define bmp:subtype=RGB565 BMP:%s", 24, 9},
        BmpVariant{"Rgb555", "", "/usr/bin/convert %s -define bmp:subtype=RGB555 BMP:%s", 24, 9},
        BmpVariant{"Bgra32Bitfields", "",
                   "/usr/bin/convert %s -alpha set -type TrueColorAlpha BMP:%s", 24, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Each hand-made file with the expected rows, top row first, as indices or 0x00BBGGRR colours.
TEST(BmpCodec, HandMadeFilesGiveTheExpectedPixels) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        bool colours;
        codectest::Rows rows;
    } cases[] = {
        {"top-down file",
         makeBmp(2, -3, 24, 0, {}, {0,   0, 255, 0, 0,   255, 0, 0,   0, 255, 0, 0,
                                    255, 0, 0,   0, 255, 0,   0, 255, 0, 0,   0, 0}),
         true,
         {{0x0000FF, 0x0000FF}, {0x00FF00, 0x00FF00}, {0xFF0000, 0xFF0000}}},
        // A 2-entry table, pixels using indices 0, 1, 7 and 255: padded with black, harmless.
        {"short colour table",
         makeBmp(4, 1, 8, 0, {{255, 255, 255, 0}, {0, 0, 255, 0}}, {0, 1, 7, 255}),
         true,
         {{0xFFFFFF, 0x0000FF, 0, 0}}},
        {"5-6-5 bitfields stretched",
         makeBmp(4, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07, 0xFF, 0xFF, 0, 0},
                 {0xF800, 0x07E0, 0x001F}),
         true,
         {{0x0000FF, 0x00FF00, 0xFFFFFF, 0}}},
        // Four-bit channels widen by repeating their bits (8 -> 0x88, 15 -> 0xFF).
        {"X4R4G4B4",
         makeBmp(3, 1, 16, 3, {}, {0x00, 0x0F, 0x00, 0x08, 0x0F, 0x00}, {0x0F00, 0x00F0, 0x000F}),
         true,
         {{0x0000FF, 0x000088, 0xFF0000}}},
        // Alpha over white: none, half (8 of 15) and full; then one alpha bit.
        {"A4R4G4B4",
         makeBmp(3, 1, 16, 6, {}, {0x00, 0x0F, 0x00, 0x8F, 0x00, 0xFF},
                 {0x0F00, 0x00F0, 0x000F, 0xF000}),
         true,
         {{0xFFFFFF, 0x7777FF, 0x0000FF}}},
        {"A1R5G5B5",
         makeBmp(2, 1, 16, 6, {}, {0x00, 0x7C, 0x00, 0xFC}, {0x7C00, 0x03E0, 0x001F, 0x8000}),
         true,
         {{0xFFFFFF, 0x0000FF}}},
        // An alpha mask that is zero in every pixel is no alpha: the picture stays visible.
        {"alpha mask never set",
         makeBmp(2, 1, 16, 6, {}, {0x00, 0x7C, 0x1F, 0x00}, {0x7C00, 0x03E0, 0x001F, 0x8000}),
         true,
         {{0x0000FF, 0xFF0000}}},
        // RLE8: a run of 6 clipped at the row end, end of line, delta one right and one up, an
        // absolute run of 5 from x = 1 clipped with its padding kept in step, a delta far past
        // the top, a run never written, end of picture.
        {"RLE8",
         makeBmp(4, 3, 8, 1, kGreys4,
                 {6, 1, 0, 0, 0, 2, 1, 1, 0, 5, 3, 3, 3, 3, 3, 0, 0, 2, 0, 200, 9, 2, 0, 1}),
         false,
         {{0, 3, 3, 3}, {0, 0, 0, 0}, {1, 1, 1, 1}}},
        // RLE4: high nibble first; 1 2 1 2 1 clipped to 3, absolute 3 2 1, a cut absolute run.
        {"RLE4",
         makeBmp(3, 3, 4, 2, kGreys4, {5, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 0, 0, 9, 0x11}),
         false,
         {{1, 1, 0}, {3, 2, 1}, {1, 2, 1}}},
    };
    for (const Case& c : cases) {
        ImageBuffer img;
        ASSERT_TRUE(decodePicture(c.file.data(), c.file.size(), DecodeOptions{}, img).ok())
            << c.what;
        codectest::expectRows(img, c.colours, c.rows, c.what);
    }
}

// Both row orders: the rows the file holds stay, the row it ends in keeps its first half, and the
// rows it never reached are white. (The reader used to form pointers to those rows far past the
// end of the file before looking whether they were there.)
TEST(BmpCodec, TruncatedRowsBecomeWhite) {
    TempDir dir;
    const Rgb src = patternPicture(20, 10, 3);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(
        run(std::string(kConvert) + " " + dir.file("src.ppm") + " BMP3:" + dir.file("a.bmp")));
    const auto whole = readAll(dir.file("a.bmp"));
    // Rows as the file stores them, bottom-up; a top-down copy negates the height.
    std::vector<uint8_t> topDown(whole.begin(), whole.begin() + 54);
    put32(topDown, 22, uint32_t(-10));
    for (int row = 9; row >= 0; --row)
        topDown.insert(topDown.end(), whole.begin() + 54 + 60 * row,
                       whole.begin() + 54 + 60 * (row + 1));
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int kept, cut, lost;  // rows as seen from the top
    } cases[] = {{"bottom-up", whole, 6, 5, 0}, {"top-down", topDown, 3, 4, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = c.bytes;
        bytes.resize(54 + 4 * 60 + 30);  // four and a half of the ten rows of 60 bytes
        ImageBuffer img;
        ASSERT_TRUE(decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img).ok());
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(getpixel(img, x, c.kept), src.at(x, c.kept));
            EXPECT_EQ(getpixel(img, x, c.lost), 0xFFFFFFu);
        }
        EXPECT_EQ(getpixel(img, 0, c.cut), src.at(0, c.cut));  // first half of the cut row
        EXPECT_EQ(getpixel(img, 19, c.cut), 0xFFFFFFu);
    }
}

TEST(BmpCodec, BrokenHeadersGiveAMessageAndNoPicture) {
    const std::vector<uint8_t> row = {1, 2, 3, 0};
    auto hugeHeader = makeBmp(1, 1, 24, 0, {}, row);
    put32(hugeHeader, 14, 0xFFFFFFF0u);  // header size beyond the file
    codectest::expectRefused({
        {"huge, no data", makeBmp(65536, 65536, 24, 0, {}, {}), ImageError::TooLarge},
        {"huge negative", makeBmp(70000, -70000, 8, 0, {}, row), ImageError::TooLarge},
        {"no pixel data", makeBmp(100, 100, 24, 0, {}, {}), ImageError::Damaged},
        {"zero width", makeBmp(0, 5, 24, 0, {}, row), ImageError::Damaged},
        {"RLE8 on 24 bits", makeBmp(1, 1, 24, 1, {}, row), ImageError::Damaged},
        {"bit count 7", makeBmp(1, 1, 7, 0, {}, row), ImageError::Unsupported},
        {"only the magic", {'B', 'M', 0, 0}, ImageError::Damaged},
        {"header size", hugeHeader, ImageError::Damaged},
    });
}

TEST(BmpPixels, NonContiguousAndEmptyMasksDoNotOverflow) {
    const uint32_t masks[4] = {0xFFFFFFFFu, 0, 0x80000001u, 0};
    const uint8_t px[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    uint8_t out[3] = {1, 1, 1};
    convertBitfieldRow(px, 1, 32, masks, out);
    EXPECT_EQ(out[2], 255);  // red
    EXPECT_EQ(out[1], 0);    // no green mask
    EXPECT_EQ(out[0], 255);  // blue
}

}  // namespace
