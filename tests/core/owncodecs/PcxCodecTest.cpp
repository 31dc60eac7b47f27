#include <algorithm>

#include "OwnCodecTestSupport.h"

using namespace owncodecs;
using namespace testsupport;

namespace {

struct EncoderCase {
    const char* name;
    int colors;           // 0: a true-colour picture
    const char* command;  // %s = input PPM, output to stdout
    int bitCount;         // depth the reader should produce
};

std::string format(const char* pattern, const std::string& in) {
    std::string s = pattern;
    const size_t at = s.find("%s");
    return s.replace(at, 2, "'" + in + "'");
}

class PcxFromEncoders : public ::testing::TestWithParam<EncoderCase> {};

TEST_P(PcxFromEncoders, DecodesPixelForPixel) {
    const EncoderCase& c = GetParam();
    TempDir dir;
    const Rgb source = c.colors ? paletteFixture(37, 23, c.colors) : patternPicture(37, 23);
    ASSERT_TRUE(writePpm(dir.file("in.ppm"), source));
    ASSERT_TRUE(run(format(c.command, dir.file("in.ppm")) + " > '" + dir.file("out.pcx") +
                    "' 2>/dev/null"));
    const std::vector<uint8_t> bytes = readAll(dir.file("out.pcx"));
    ASSERT_TRUE(pr::pcxCodec().sniff(bytes.data(), bytes.size()));
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::pcxCodec(), bytes, b);
    ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
    EXPECT_TRUE(r.detail.empty());
    EXPECT_EQ(b.bitCount(), c.bitCount);
    EXPECT_EQ(r.trueWidth, 37);
    EXPECT_EQ(r.trueHeight, 23);
    EXPECT_EQ(r.trueBitCount, c.bitCount);
    EXPECT_TRUE(samePicture(source, toRgb(b)));
}

INSTANTIATE_TEST_SUITE_P(
    AllDepths, PcxFromEncoders,
    ::testing::Values(EncoderCase{"mono", 2, "ppmtopcx -quiet %s", 1},
                      EncoderCase{"twoPlanes", 4, "ppmtopcx -quiet -planes=2 %s", 4},
                      EncoderCase{"threePlanes", 5, "ppmtopcx -quiet %s", 4},
                      EncoderCase{"egaFourPlanes", 16, "ppmtopcx -quiet -planes=4 %s", 4},
                      EncoderCase{"packedTwoBits", 4, "ppmtopcx -quiet -packed %s", 4},
                      EncoderCase{"packedFourBits", 16, "ppmtopcx -quiet -packed %s", 4},
                      EncoderCase{"eightBitFewColours", 16, "ppmtopcx -quiet -8bit %s", 8},
                      EncoderCase{"eightBit", 200, "ppmtopcx -quiet %s", 8},
                      EncoderCase{"threePlanesOf8", 0, "ppmtopcx -quiet %s", 24},
                      EncoderCase{"forced24", 30, "ppmtopcx -quiet -24bit %s", 24},
                      EncoderCase{"imageMagick8", 60, "/usr/bin/convert %s -type Palette PCX:-", 8},
                      EncoderCase{"imageMagick24", 0, "/usr/bin/convert %s PCX:-", 24}),
    [](const ::testing::TestParamInfo<EncoderCase>& i) { return std::string(i.param.name); });

// A 128-byte header and the given body.
std::vector<uint8_t> pcx(int bpp, int planes, int w, int h, int bytesPerLine, int encoding,
                         const std::vector<uint8_t>& body) {
    std::vector<uint8_t> v(128 + body.size(), 0);
    std::copy(body.begin(), body.end(), v.begin() + 128);
    v[0] = 0x0A, v[1] = 5, v[2] = static_cast<uint8_t>(encoding), v[3] = static_cast<uint8_t>(bpp);
    put16le(v, 8, w - 1);
    put16le(v, 10, h - 1);
    v[65] = static_cast<uint8_t>(planes);
    put16le(v, 66, bytesPerLine);
    return v;
}

TEST(PcxCodec, RunsCarryOnAcrossRowAndPlaneEnds) {
    {
        // 8-bit, no colour table at the end: grey. The first run fills row 0 and half of row 1.
        pr::ImageBuffer b;
        ASSERT_TRUE(
            decodeBytes(pr::pcxCodec(), pcx(8, 1, 4, 2, 4, 1, {0xC6, 0x20, 0x30, 0x31}), b).ok());
        ASSERT_EQ(b.bitCount(), 8);
        const uint32_t want[2][4] = {{0x20, 0x20, 0x20, 0x20}, {0x20, 0x20, 0x30, 0x31}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(getpixel(b, x, y), want[y][x]) << x << "," << y;
        EXPECT_EQ(b.info->colors[0x30].green, 0x30);  // grey table
    }
    {
        // 24-bit, 2 pixels: each run covers one and a half planes.
        pr::ImageBuffer b;
        ASSERT_TRUE(
            decodeBytes(pr::pcxCodec(), pcx(8, 3, 2, 1, 2, 1, {0xC3, 0x10, 0xC3, 0x90}), b).ok());
        EXPECT_EQ(getpixel(b, 0, 0), 0x901010u);  // r=10 g=10 b=90
        EXPECT_EQ(getpixel(b, 1, 0), 0x909010u);  // r=10 g=90 b=90
    }
}

TEST(PcxCodec, MonochromeWithEmptyHeaderPaletteIsBlackAndWhite) {
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::pcxCodec(), pcx(1, 1, 8, 1, 2, 0, {0xF0, 0x00}), b).ok());
    const Rgb rgb = toRgb(b);
    EXPECT_EQ(rgb.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgb.at(7, 0), 0u);
}

TEST(PcxCodec, EgaPlanesCombineLowPlaneFirst) {
    // Four planes, one byte each: pixel 0 has plane bits 1,0,1,1 -> index 0b1101 = 13.
    std::vector<uint8_t> file = pcx(1, 4, 2, 1, 1, 0, {0x80, 0x40, 0x80, 0x80});
    file[16 + 13 * 3] = 0xAB;  // red of entry 13
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::pcxCodec(), file, b).ok());
    EXPECT_EQ(getpixel(b, 0, 0), 13u);
    EXPECT_EQ(getpixel(b, 1, 0), 2u);
    EXPECT_EQ(toRgb(b).at(0, 0) & 0xFF, 0xABu);
}

TEST(PcxCodec, TruncatedDataKeepsTheDecodedRowsAndWhitensTheRest) {
    TempDir dir;
    const Rgb source = patternPicture(37, 23);
    ASSERT_TRUE(writePpm(dir.file("in.ppm"), source));
    ASSERT_TRUE(run("ppmtopcx -quiet '" + dir.file("in.ppm") + "' > '" + dir.file("o.pcx") + "'"));
    std::vector<uint8_t> bytes = readAll(dir.file("o.pcx"));
    bytes.resize(128 + (bytes.size() - 128) / 2);
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::pcxCodec(), bytes, b);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.detail.empty());
    const Rgb got = toRgb(b);
    for (int x = 0; x < 37; ++x) {
        EXPECT_EQ(got.at(x, 0), source.at(x, 0));
        EXPECT_EQ(got.at(x, 22), 0xFFFFFFu);
    }
    // Header only, or not even that: nothing to show.
    for (size_t n : {size_t{128}, size_t{100}, size_t{0}}) {
        bytes.resize(n);
        const pr::DecodeResult cut = decodeBytes(pr::pcxCodec(), bytes, b);
        EXPECT_EQ(cut.error, pr::ImageError::Damaged) << n;
        EXPECT_FALSE(b.valid());
    }
}

TEST(PcxCodec, ForgedHeadersAreRefusedBeforeAllocating) {
    pr::ImageBuffer b;
    // 65536 x 65536 would be 4 GiB at 8 bits.
    std::vector<uint8_t> huge = pcx(8, 1, 65536, 65536, 65535, 1, std::vector<uint8_t>(4000, 0xC1));
    put16le(huge, 8, 65535);
    put16le(huge, 10, 65535);
    EXPECT_EQ(decodeBytes(pr::pcxCodec(), huge, b).error, pr::ImageError::TooLarge);
    EXPECT_FALSE(b.valid());
    // A line shorter than the width.
    EXPECT_EQ(
        decodeBytes(pr::pcxCodec(), pcx(8, 1, 100, 2, 50, 0, std::vector<uint8_t>(200)), b).error,
        pr::ImageError::Damaged);
    // A big window on a few bytes of data.
    EXPECT_EQ(decodeBytes(pr::pcxCodec(), pcx(8, 3, 20000, 10000, 20000, 1, {0xC5, 1}), b).error,
              pr::ImageError::Damaged);
    // Two planes of 8 bits is no PCX anyone writes.
    EXPECT_EQ(decodeBytes(pr::pcxCodec(), pcx(8, 2, 4, 4, 4, 0, std::vector<uint8_t>(32)), b).error,
              pr::ImageError::Unsupported);
    EXPECT_FALSE(b.valid());
}

TEST(PcxCodec, SnifferWantsAPlausibleHeader) {
    const std::vector<uint8_t> good = pcx(8, 1, 4, 2, 4, 1, {0xC8, 0x20});
    EXPECT_TRUE(pr::pcxCodec().sniff(good.data(), good.size()));
    auto broken = [&](size_t at, uint8_t v) {
        std::vector<uint8_t> b = good;
        b[at] = v;
        return !pr::pcxCodec().sniff(b.data(), b.size());
    };
    EXPECT_TRUE(broken(0, 0x0B));  // manufacturer
    EXPECT_TRUE(broken(1, 1));     // version
    EXPECT_TRUE(broken(2, 2));     // encoding
    EXPECT_TRUE(broken(3, 3));     // bits per pixel
    EXPECT_TRUE(broken(65, 0));    // planes
    std::vector<uint8_t> window = good;
    put16le(window, 4, 10);  // xmin 10 > xmax 3
    EXPECT_FALSE(pr::pcxCodec().sniff(window.data(), window.size()));
    EXPECT_FALSE(pr::pcxCodec().sniff(good.data(), 127));
}

TEST(PcxCodec, DamagedFilesGiveAnAnswerNeverACrash) {
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("a.ppm"), paletteFixture(13, 5, 60)));
    ASSERT_TRUE(writePpm(dir.file("b.ppm"), paletteFixture(13, 5, 5)));
    ASSERT_TRUE(run("ppmtopcx -quiet '" + dir.file("a.ppm") + "' > '" + dir.file("a.pcx") + "'"));
    ASSERT_TRUE(run("ppmtopcx -quiet '" + dir.file("b.ppm") + "' > '" + dir.file("b.pcx") + "'"));
    feedDamagedVariants(pr::pcxCodec(), readAll(dir.file("a.pcx")));
    feedDamagedVariants(pr::pcxCodec(), readAll(dir.file("b.pcx")));
}

}  // namespace
