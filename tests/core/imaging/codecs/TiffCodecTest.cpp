// TIFF reader against files written by netpbm and ImageMagick at test time, plus a few files built
// here by hand where a writer cannot be made to produce the case (data cut short, forged sizes).

#include "CodecTestSupport.h"

using namespace testsupport;
using codectest::decodeBytes;
using codectest::maxDiff;
using codectest::rgbAt;

namespace {

class TiffCodecTest : public ::testing::Test {
protected:
    // The colour pattern and derived references: rgb.ppm, grey.pgm, bw.pbm, q16.ppm, q200.ppm, and
    // grey brought down to 15 and 3 levels (g4.pgm, g2.pgm) and back up (g4r.pgm, g2r.pgm).
    void SetUp() override {
        ASSERT_TRUE(writePpm(dir.file("rgb.ppm"), patternPicture(45, 31, 5)));
        ASSERT_TRUE(sh(
            "ppmtopgm rgb.ppm > grey.pgm && pamthreshold grey.pgm 2>/dev/null | pamtopnm > bw.pbm"
            " && pnmquant 16 rgb.ppm > q16.ppm 2>/dev/null && pnmquant 200 rgb.ppm > q200.ppm "
            "2>/dev/null"
            " && pamdepth 15 grey.pgm > g4.pgm && pamdepth 255 g4.pgm > g4r.pgm"
            " && pamdepth 3 grey.pgm > g2.pgm && pamdepth 255 g2.pgm > g2r.pgm"));
    }
    bool sh(const std::string& command) {
        return run("cd " + dir.path().string() + " && " + command);
    }
    pr::DecodeResult decodeOut() {
        return decodeBytes(pr::tiffCodec(), readAll(dir.file("out.tif")), img);
    }
    TempDir dir;
    pr::ImageBuffer img;
};

TEST_F(TiffCodecTest, SniffsBothByteOrdersAndBigTiff) {
    const uint8_t ii[] = {'I', 'I', 42, 0}, mm[] = {'M', 'M', 0, 42}, big[] = {'I', 'I', 43, 0},
                  bad[] = {'I', 'M', 42, 0};
    EXPECT_TRUE(pr::tiffCodec().sniff(ii, 4) && pr::tiffCodec().sniff(mm, 4) &&
                pr::tiffCodec().sniff(big, 4));
    EXPECT_FALSE(pr::tiffCodec().sniff(bad, 4));
    EXPECT_FALSE(pr::tiffCodec().sniff(ii, 3));
}

TEST_F(TiffCodecTest, EveryDepthAndCompressionMatchesItsSource) {
    struct Case {
        const char* command;  // writes out.tif in the scratch folder
        const char* reference;
        int bits, tolerance;
    } cases[] = {
        // Not -lsb2msb: pamtotiff then tags the bits as reversed without reversing them
        // (ImageMagick
        // reads those files wrongly as well).
        {"pamtotiff bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -packbits bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -g3 bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -g4 bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -lzw bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -g3 -2d bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -minisblack bw.pbm", "bw.pbm", 1, 0},
        {"pamtotiff -lzw grey.pgm", "grey.pgm", 8, 0},
        {"pamtotiff -miniswhite -flate grey.pgm", "grey.pgm", 8, 0},
        {"pamtotiff g4.pgm", "g4r.pgm", 4, 0},
        {"pamtotiff -packbits g2.pgm", "g2r.pgm", 4, 0},  // two bits become four
        {"pamtotiff -miniswhite g2.pgm", "g2r.pgm", 4, 0},
        {"pamtotiff -lzw q200.ppm", "q200.ppm", 8, 0},
        {"pamtotiff -indexbits=4 q16.ppm", "q16.ppm", 4, 0},
        {"pamtotiff -indexbits=8 -packbits q16.ppm", "q16.ppm", 8, 0},
        {"pamtotiff -truecolor rgb.ppm", "rgb.ppm", 24, 0},
        {"pamtotiff -truecolor -lzw rgb.ppm", "rgb.ppm", 24, 0},
        {"pamtotiff -truecolor -packbits rgb.ppm", "rgb.ppm", 24, 0},
        {"pamtotiff -truecolor -flate rgb.ppm", "rgb.ppm", 24, 0},
        {"pamtotiff -truecolor -lzw -predictor=2 rgb.ppm", "rgb.ppm", 24, 0},
        {"pamtotiff -truecolor -rowsperstrip=1 rgb.ppm", "rgb.ppm", 24, 0},
        {"convert rgb.ppm -define tiff:tile-geometry=16x16", "rgb.ppm", 24, 0},
        {"convert rgb.ppm -define tiff:tile-geometry=16x16 -compress lzw -interlace plane",
         "rgb.ppm", 24, 0},
        {"convert rgb.ppm -interlace plane", "rgb.ppm", 24, 0},
        {"convert rgb.ppm -depth 16", "rgb.ppm", 24, 0},
        {"convert rgb.ppm -depth 16 -define tiff:tile-geometry=32x16", "rgb.ppm", 24, 0},
        {"convert grey.pgm -depth 16", "grey.pgm", 24, 0},
        {"convert rgb.ppm -colorspace CMYK -depth 8", "rgb.ppm", 24, 3},
        {"convert rgb.ppm -compress jpeg -quality 98", "rgb.ppm", 24,
         60},  // lossy, with chroma halved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const bool magick = std::string(c.command).rfind("convert", 0) == 0;
        ASSERT_TRUE(sh(magick ? std::string("/usr/bin/") + c.command + " out.tif"
                              : std::string(c.command) + " > out.tif 2>/dev/null"));
        const pr::DecodeResult r = decodeOut();
        ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
        EXPECT_EQ(img.bitCount(), c.bits);
        EXPECT_EQ(r.trueBitCount, c.bits);
        EXPECT_LE(maxDiff(img, readNetpbm(dir.file(c.reference))), c.tolerance);
    }
}

TEST_F(TiffCodecTest, MinIsWhiteIsTurnedRoundInTheTableNotTheBits) {
    ASSERT_TRUE(sh("pamtotiff -miniswhite bw.pbm > out.tif 2>/dev/null"));
    ASSERT_TRUE(decodeOut().ok());
    EXPECT_EQ(img.info->colors[0].red, 255);
    EXPECT_EQ(img.info->colors[1].red, 0);
}

TEST_F(TiffCodecTest, AlphaIsComposedOverWhite) {
    ASSERT_TRUE(sh(std::string(kConvert) +
                   " rgb.ppm -alpha set -channel A -evaluate set 50% +channel out.tif"));
    ASSERT_TRUE(decodeOut().ok());
    ASSERT_EQ(img.bitCount(), 24);
    Rgb half = readNetpbm(dir.file("rgb.ppm"));
    for (uint8_t& v : half.pixels) v = uint8_t((v + 255) / 2);
    EXPECT_LE(maxDiff(img, half), 2);
}

// ImageMagick's -auto-orient is the independent judge of what each tag means.
TEST_F(TiffCodecTest, OrientationTagIsHonouredForEveryDepth) {
    const char* names[] = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                           "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    struct Source {
        const char* file;
        const char* extra;
        int bits;
        int step;  // every orientation for 24 and 1 bit (whole rows and packed bits); a sample else
    };
    for (const Source& s :
         {Source{"rgb.ppm", "", 24, 1}, Source{"bw.pbm", "-type bilevel", 1, 1},
          Source{"grey.pgm", "", 8, 3}, Source{"q16.ppm", "-type palette -depth 4", 4, 3}})
        for (int o = 0; o < 8; o += s.step) {
            SCOPED_TRACE(std::string(s.file) + " " + names[o]);
            ASSERT_TRUE(sh(std::string(kConvert) + " " + s.file + " " + s.extra + " -orient " +
                           names[o] + " out.tif && " + kConvert +
                           " out.tif -auto-orient -depth 8 seen.ppm"));
            ASSERT_TRUE(decodeOut().ok());
            EXPECT_EQ(img.bitCount(), s.bits);
            EXPECT_EQ(maxDiff(img, readNetpbm(dir.file("seen.ppm"))), 0);
        }
}

// A little-endian, uncompressed, single-strip 8-bit grey TIFF with the directory first, so that
// cutting the file cuts only pixel data.
std::vector<uint8_t> handMadeGrey(uint32_t w, uint32_t h, uint32_t rowsPerStrip) {
    std::vector<uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto u16 = [&b](uint32_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const uint32_t strips = (h + rowsPerStrip - 1) / rowsPerStrip, entries = 9;
    const uint32_t arrays = 8 + 2 + entries * 12 + 4, data = arrays + (strips > 1 ? 8 * strips : 0);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        u16(tag), u16(type), u32(count);
        if (type == 3 && count == 1)
            u16(value), u16(0);
        else
            u32(value);
    };
    u16(entries);
    entry(256, 4, 1, w), entry(257, 4, 1, h), entry(258, 3, 1, 8), entry(259, 3, 1, 1),
        entry(262, 3, 1, 1);
    entry(273, 4, strips, strips == 1 ? data : arrays);
    entry(277, 3, 1, 1), entry(278, 4, 1, rowsPerStrip);
    entry(279, 4, strips, strips == 1 ? w * h : arrays + 4 * strips);
    u32(0);
    if (strips > 1) {
        for (uint32_t s = 0; s < strips; ++s) u32(data + s * w * rowsPerStrip);
        for (uint32_t s = 0; s < strips; ++s) u32(w * std::min(rowsPerStrip, h - s * rowsPerStrip));
    }
    if (uint64_t(w) * h < (1u << 20))
        for (uint32_t i = 0; i < w * h; ++i) b.push_back(uint8_t(i * 7));
    return b;
}

TEST_F(TiffCodecTest, TruncatedStripsKeepDecodedRowsAndTurnTheRestWhite) {
    // libtiff takes a strip whole or not at all, so rows survive strip by strip.
    for (uint32_t rowsPerStrip : {1u, 4u}) {
        SCOPED_TRACE(rowsPerStrip);
        std::vector<uint8_t> bytes = handMadeGrey(16, 20, rowsPerStrip);
        ASSERT_TRUE(decodeBytes(pr::tiffCodec(), bytes, img).ok());
        EXPECT_EQ(pr::getpixel(img, 3, 2), uint8_t((2 * 16 + 3) * 7));
        bytes.resize(bytes.size() - 16 * 12);  // 8 of 20 rows left
        const pr::DecodeResult r = decodeBytes(pr::tiffCodec(), bytes, img);
        ASSERT_TRUE(r.ok()) << r.detail;
        ASSERT_EQ(img.height(), 20);
        EXPECT_EQ(pr::getpixel(img, 3, 7), uint8_t((7 * 16 + 3) * 7));
        EXPECT_EQ(rgbAt(img, 5, 19), 0xFFFFFFu);
    }
}

TEST_F(TiffCodecTest, BrokenAndOversizedFilesGiveAMessageAndNoPicture) {
    ASSERT_TRUE(sh("pamtotiff -lzw q200.ppm > out.tif 2>/dev/null"));
    const std::vector<uint8_t> whole = readAll(dir.file("out.tif"));
    // Cuts inside the header and inside the directory, wherever the writer put it.
    ASSERT_EQ(whole[0], 'I');
    const size_t ifd = whole[4] | (whole[5] << 8) | (whole[6] << 16) | (size_t(whole[7]) << 24);
    for (size_t keep : {size_t{4}, size_t{8}, ifd + 1, ifd + 2 + 12 * 3}) {
        const pr::DecodeResult r = pr::decodeWith(pr::tiffCodec(), whole.data(), keep, {}, img);
        EXPECT_FALSE(r.ok()) << keep;
        EXPECT_FALSE(img.valid()) << keep;
        EXPECT_GT(pr::imageErrorText(r.error, r.detail).size(), 5u) << keep;
    }
    // Header sound, but not one strip whole: damaged, not a white picture.
    std::vector<uint8_t> empty = handMadeGrey(16, 20, 20);
    empty.resize(empty.size() - 16 * 12);
    EXPECT_EQ(decodeBytes(pr::tiffCodec(), empty, img).error, pr::ImageError::Damaged);
    EXPECT_FALSE(img.valid());
    for (auto [w, h] :
         {std::pair{65536u, 65536u}, {200000u, 1u}, {1u, 200000u}, {20000u, 20000u}}) {
        EXPECT_EQ(decodeBytes(pr::tiffCodec(), handMadeGrey(w, h, h), img).error,
                  pr::ImageError::TooLarge)
            << w << "x" << h;
        EXPECT_FALSE(img.valid());
    }
}

TEST_F(TiffCodecTest, RandomDamageNeverCrashes) {
    std::mt19937 rng(5);
    for (const char* command : {"-lzw q200.ppm", "-truecolor -packbits q200.ppm", "-g4 bw.pbm"}) {
        ASSERT_TRUE(sh(std::string("pamtotiff ") + command + " > out.tif 2>/dev/null"));
        const std::vector<uint8_t> whole = readAll(dir.file("out.tif"));
        for (int i = 0; i < 300; ++i) {
            std::vector<uint8_t> bytes = whole;
            for (int k = 0; k < 4; ++k) bytes[4 + rng() % (bytes.size() - 4)] = uint8_t(rng());
            const bool ok = decodeBytes(pr::tiffCodec(), bytes, img).ok();
            EXPECT_EQ(ok, img.valid());
        }
    }
}

}  // namespace
