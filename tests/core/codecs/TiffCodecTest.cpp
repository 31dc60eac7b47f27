// TIFF reader against files written by netpbm and ImageMagick at test time, plus a few files built
// here by hand where a writer cannot be made to produce the case (data cut short, forged sizes).

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "imaging/codecs/Codec.h"

using namespace testsupport;

namespace {

uint32_t shownColour(const pr::ImageBuffer& b, int x, int y) {
    const uint32_t v = pr::getpixel(b, x, y);
    if (b.bitCount() == 24) return v;
    const pr::RgbQuad& q = b.info->colors[v];
    return q.red | (q.green << 8) | (q.blue << 16);
}

// Largest difference of any channel over the whole picture; -1 when the sizes differ.
int maxDifference(const pr::ImageBuffer& b, const Rgb& ref) {
    if (b.width() != ref.width || b.height() != ref.height) return -1;
    int worst = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint32_t a = shownColour(b, x, y), e = ref.at(x, y);
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((e >> s) & 0xFF)));
        }
    return worst;
}

class TiffCodecTest : public ::testing::Test {
protected:
    pr::DecodeResult decodeFile(const std::string& path) {
        const std::vector<uint8_t> bytes = readAll(path);
        return pr::tiffCodec().decode(bytes.data(), bytes.size(), pr::DecodeOptions{}, img);
    }
    std::string f(const std::string& name) const { return dir.file(name); }
    // Writes the colour pattern and derived references: rgb.ppm, grey.pgm, bw.pbm, q16.ppm, q200.ppm.
    void SetUp() override {
        ASSERT_TRUE(writePpm(f("rgb.ppm"), patternPicture(45, 31, 5)));
        ASSERT_TRUE(run("ppmtopgm " + f("rgb.ppm") + " > " + f("grey.pgm")));
        ASSERT_TRUE(run("pamthreshold " + f("grey.pgm") + " 2>/dev/null | pamtopnm > " + f("bw.pbm")));
        ASSERT_TRUE(run("pnmquant 16 " + f("rgb.ppm") + " > " + f("q16.ppm") + " 2>/dev/null"));
        ASSERT_TRUE(run("pnmquant 200 " + f("rgb.ppm") + " > " + f("q200.ppm") + " 2>/dev/null"));
    }
    void expectMatches(const std::string& command, const std::string& reference, int bitCount,
                       int tolerance = 0) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(run(command + " 2>/dev/null"));
        const pr::DecodeResult r = decodeFile(f("out.tif"));
        ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
        EXPECT_EQ(img.bitCount(), bitCount);
        EXPECT_EQ(r.trueBitCount, bitCount);
        const Rgb ref = readNetpbm(f(reference));
        ASSERT_GT(ref.width, 0);
        const int diff = maxDifference(img, ref);
        EXPECT_GE(diff, 0) << "size " << img.width() << "x" << img.height();
        EXPECT_LE(diff, tolerance);
    }
    TempDir dir;
    pr::ImageBuffer img;
};

TEST_F(TiffCodecTest, SniffsBothByteOrdersAndBigTiff) {
    const uint8_t ii[] = {'I', 'I', 42, 0}, mm[] = {'M', 'M', 0, 42}, big[] = {'I', 'I', 43, 0}, bad[] = {'I', 'M', 42, 0};
    EXPECT_TRUE(pr::tiffCodec().sniff(ii, 4));
    EXPECT_TRUE(pr::tiffCodec().sniff(mm, 4));
    EXPECT_TRUE(pr::tiffCodec().sniff(big, 4));
    EXPECT_FALSE(pr::tiffCodec().sniff(bad, 4));
    EXPECT_FALSE(pr::tiffCodec().sniff(ii, 3));
}

TEST_F(TiffCodecTest, BilevelStaysOneBitInEveryCompression) {
    const std::string in = f("bw.pbm"), out = " > " + f("out.tif");
    // Not -lsb2msb: pamtotiff then tags the bits as reversed without reversing them (ImageMagick
    // reads those files wrongly as well).
    for (const char* options : {"", "-packbits", "-g3", "-g4", "-lzw", "-g3 -2d", "-minisblack"})
        expectMatches(std::string("pamtotiff ") + options + " " + in + out, "bw.pbm", 1);
}

TEST_F(TiffCodecTest, MinIsWhiteIsTurnedRoundInTheTableNotTheBits) {
    ASSERT_TRUE(run("pamtotiff -miniswhite " + f("bw.pbm") + " > " + f("out.tif") + " 2>/dev/null"));
    ASSERT_TRUE(decodeFile(f("out.tif")).ok());
    EXPECT_EQ(shownColour(img, 0, 0) == 0 ? 1u : 0u, pr::getpixel(img, 0, 0) == 0 ? 0u : 1u);
    EXPECT_EQ(img.info->colors[0].red, 255);
    EXPECT_EQ(img.info->colors[1].red, 0);
}

TEST_F(TiffCodecTest, GreyKeepsItsDepthAndTwoBitsBecomeFour) {
    const std::string out = " > " + f("out.tif");
    expectMatches("pamtotiff -lzw " + f("grey.pgm") + out, "grey.pgm", 8);
    expectMatches("pamtotiff -miniswhite -flate " + f("grey.pgm") + out, "grey.pgm", 8);
    // 4 and 2 bits: the reference is the grey picture brought down to 15 and 3 levels and back.
    ASSERT_TRUE(run("pamdepth 15 " + f("grey.pgm") + " > " + f("g4.pgm") + " && pamdepth 255 " + f("g4.pgm") + " > " + f("g4r.pgm")));
    ASSERT_TRUE(run("pamdepth 3 " + f("grey.pgm") + " > " + f("g2.pgm") + " && pamdepth 255 " + f("g2.pgm") + " > " + f("g2r.pgm")));
    expectMatches("pamtotiff " + f("g4.pgm") + out, "g4r.pgm", 4);
    expectMatches("pamtotiff -packbits " + f("g2.pgm") + out, "g2r.pgm", 4);
    expectMatches("pamtotiff -miniswhite " + f("g2.pgm") + out, "g2r.pgm", 4);
}

TEST_F(TiffCodecTest, PalettePicturesKeepTheirDepthAndColours) {
    const std::string out = " > " + f("out.tif");
    expectMatches("pamtotiff -lzw " + f("q200.ppm") + out, "q200.ppm", 8);
    expectMatches("pamtotiff -indexbits=4 " + f("q16.ppm") + out, "q16.ppm", 4);
    expectMatches("pamtotiff -indexbits=8 -packbits " + f("q16.ppm") + out, "q16.ppm", 8);
}

TEST_F(TiffCodecTest, TrueColourFromNetpbmAndImageMagick) {
    const std::string rgb = f("rgb.ppm"), out = " > " + f("out.tif"), to = " " + f("out.tif");
    const std::string im = std::string(kConvert) + " " + rgb;
    for (const char* options : {"", "-lzw", "-packbits", "-flate", "-lzw -predictor=2", "-rowsperstrip=1"})
        expectMatches(std::string("pamtotiff -truecolor ") + options + " " + rgb + out, "rgb.ppm", 24);
    expectMatches(im + " -define tiff:tile-geometry=16x16" + to, "rgb.ppm", 24);
    expectMatches(im + " -define tiff:tile-geometry=16x16 -compress lzw -interlace plane" + to, "rgb.ppm", 24);
    expectMatches(im + " -interlace plane" + to, "rgb.ppm", 24);
    expectMatches(im + " -depth 16" + to, "rgb.ppm", 24);
    expectMatches(im + " -depth 16 -define tiff:tile-geometry=32x16" + to, "rgb.ppm", 24);
    expectMatches(std::string(kConvert) + " " + f("grey.pgm") + " -depth 16" + to, "grey.pgm", 24);
    expectMatches(im + " -colorspace CMYK -depth 8" + to, "rgb.ppm", 24, 3);
    expectMatches(im + " -compress jpeg -quality 98" + to, "rgb.ppm", 24, 60);  // lossy, with chroma halved
}

TEST_F(TiffCodecTest, AlphaIsComposedOverWhite) {
    ASSERT_TRUE(run(std::string(kConvert) + " " + f("rgb.ppm") + " -alpha set -channel A -evaluate set 50% +channel " +
                    f("out.tif")));
    ASSERT_TRUE(decodeFile(f("out.tif")).ok());
    ASSERT_EQ(img.bitCount(), 24);
    const Rgb ref = readNetpbm(f("rgb.ppm"));
    int worst = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
            for (int s = 0; s < 24; s += 8) {
                const int expected = (static_cast<int>((ref.at(x, y) >> s) & 0xFF) + 255) / 2;
                worst = std::max(worst, std::abs(expected - static_cast<int>((shownColour(img, x, y) >> s) & 0xFF)));
            }
    EXPECT_LE(worst, 2);
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
    for (const Source& s : {Source{"rgb.ppm", "", 24, 1}, Source{"bw.pbm", "-type bilevel", 1, 1},
                            Source{"grey.pgm", "", 8, 3}, Source{"q16.ppm", "-type palette -depth 4", 4, 3}}) {
        for (int o = 0; o < 8; o += s.step) {
            const char* name = names[o];
            SCOPED_TRACE(std::string(s.file) + " " + name);
            const std::string tif = f("out.tif"), seen = f("seen.ppm");
            ASSERT_TRUE(run(std::string(kConvert) + " " + f(s.file) + " " + s.extra + " -orient " + name + " " + tif));
            ASSERT_TRUE(run(std::string(kConvert) + " " + tif + " -auto-orient -depth 8 " + seen));
            ASSERT_TRUE(decodeFile(tif).ok());
            EXPECT_EQ(img.bitCount(), s.bits);
            EXPECT_EQ(maxDifference(img, readNetpbm(seen)), 0);
        }
    }
}

// A little-endian, uncompressed, single-strip 8-bit grey TIFF with the directory first, so that
// cutting the file cuts only pixel data.
std::vector<uint8_t> handMadeGrey(uint32_t w, uint32_t h, uint32_t rowsPerStrip) {
    std::vector<uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto u16 = [&b](uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t strips = (h + rowsPerStrip - 1) / rowsPerStrip;
    const uint32_t entries = 9, ifdEnd = 8 + 2 + entries * 12 + 4;
    const uint32_t arrays = ifdEnd, data = arrays + (strips > 1 ? 8 * strips : 0);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        u16(tag); u16(type); u32(count);
        if (type == 3 && count == 1) { u16(value); u16(0); } else u32(value);
    };
    u16(entries);
    entry(256, 4, 1, w);
    entry(257, 4, 1, h);
    entry(258, 3, 1, 8);
    entry(259, 3, 1, 1);
    entry(262, 3, 1, 1);
    entry(273, 4, strips, strips == 1 ? data : arrays);
    entry(277, 3, 1, 1);
    entry(278, 4, 1, rowsPerStrip);
    entry(279, 4, strips, strips == 1 ? w * h : arrays + 4 * strips);
    u32(0);
    if (strips > 1) {
        for (uint32_t s = 0; s < strips; ++s) u32(data + s * w * rowsPerStrip);
        for (uint32_t s = 0; s < strips; ++s) u32(w * std::min(rowsPerStrip, h - s * rowsPerStrip));
    }
    if (static_cast<uint64_t>(w) * h < (1u << 20))
        for (uint32_t i = 0; i < w * h; ++i) b.push_back(static_cast<uint8_t>(i * 7));
    return b;
}

TEST_F(TiffCodecTest, TruncatedStripsKeepDecodedRowsAndTurnTheRestWhite) {
    // libtiff takes a strip whole or not at all, so rows survive strip by strip.
    for (uint32_t rowsPerStrip : {1u, 4u}) {
        SCOPED_TRACE(rowsPerStrip);
        std::vector<uint8_t> bytes = handMadeGrey(16, 20, rowsPerStrip);
        ASSERT_TRUE(pr::tiffCodec().decode(bytes.data(), bytes.size(), {}, img).ok());
        EXPECT_EQ(pr::getpixel(img, 3, 2), static_cast<uint8_t>((2 * 16 + 3) * 7));
        bytes.resize(bytes.size() - 16 * 12);  // 8 of 20 rows left
        const pr::DecodeResult r = pr::tiffCodec().decode(bytes.data(), bytes.size(), {}, img);
        ASSERT_TRUE(r.ok()) << r.detail;
        ASSERT_EQ(img.height(), 20);
        EXPECT_EQ(pr::getpixel(img, 3, 7), static_cast<uint8_t>((7 * 16 + 3) * 7));
        EXPECT_EQ(shownColour(img, 5, 19), 0xFFFFFFu);
    }
}

TEST_F(TiffCodecTest, BrokenFilesGiveAMessageAndNoPicture) {
    ASSERT_TRUE(run("pamtotiff -lzw " + f("q200.ppm") + " > " + f("out.tif") + " 2>/dev/null"));
    const std::vector<uint8_t> whole = readAll(f("out.tif"));
    // Cuts inside the header and inside the directory, wherever the writer put it.
    ASSERT_EQ(whole[0], 'I');
    const size_t ifd = whole[4] | (whole[5] << 8) | (whole[6] << 16) | (static_cast<size_t>(whole[7]) << 24);
    for (size_t keep : {size_t{4}, size_t{8}, ifd + 1, ifd + 2 + 12 * 3}) {
        SCOPED_TRACE(keep);
        const pr::DecodeResult r = pr::tiffCodec().decode(whole.data(), keep, {}, img);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(img.valid());
        EXPECT_GT(pr::imageErrorText(r.error, r.detail).size(), 5u);
    }
    // Header sound, but not one strip whole: damaged, not a white picture.
    std::vector<uint8_t> empty = handMadeGrey(16, 20, 20);
    empty.resize(empty.size() - 16 * 12);
    EXPECT_EQ(pr::tiffCodec().decode(empty.data(), empty.size(), {}, img).error, pr::ImageError::Damaged);
    EXPECT_FALSE(img.valid());
}

TEST_F(TiffCodecTest, OversizedHeadersAreRefusedBeforeAllocating) {
    for (auto [w, h] : {std::pair{65536u, 65536u}, {200000u, 1u}, {1u, 200000u}, {20000u, 20000u}}) {
        const std::vector<uint8_t> bytes = handMadeGrey(w, h, h);
        const pr::DecodeResult r = pr::tiffCodec().decode(bytes.data(), bytes.size(), {}, img);
        EXPECT_EQ(r.error, pr::ImageError::TooLarge) << w << "x" << h;
        EXPECT_FALSE(img.valid());
    }
}

TEST_F(TiffCodecTest, RandomDamageNeverCrashes) {
    std::mt19937 rng(5);
    for (const char* options : {"-lzw", "-truecolor -packbits", "-g4"}) {
        const std::string src = std::string(options) == "-g4" ? f("bw.pbm") : f("q200.ppm");
        ASSERT_TRUE(run(std::string("pamtotiff ") + options + " " + src + " > " + f("out.tif") + " 2>/dev/null"));
        const std::vector<uint8_t> whole = readAll(f("out.tif"));
        for (int i = 0; i < 300; ++i) {
            std::vector<uint8_t> bytes = whole;
            for (int k = 0; k < 4; ++k) bytes[4 + rng() % (bytes.size() - 4)] = static_cast<uint8_t>(rng());
            const pr::DecodeResult r = pr::tiffCodec().decode(bytes.data(), bytes.size(), {}, img);
            EXPECT_EQ(r.ok(), img.valid());
        }
    }
}

}  // namespace
