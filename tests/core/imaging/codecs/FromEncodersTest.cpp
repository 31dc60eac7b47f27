// The BMP bit-field, PCX, TGA and IFF readers on files written at test time by netpbm and
// ImageMagick, for every depth each format has, compared pixel by pixel with the source picture.

#include <fstream>

#include "CodecTestSupport.h"

using namespace codectest;
using namespace testsupport;

namespace {

enum Source { kTrueColour = 0, kGrey = -1, kWithAlpha = -2 };  // or a number of colours

struct EncoderCase {
    const char* name;
    const pr::Codec& codec;
    int source;
    const char* command;  // %s = input file, output to stdout
    int bitCount;
    int tolerance = 0;
    // When set, the reference is netpbm's reading of the file (%s) instead of the source picture:
    // for writers that quantise in their own way.
    const char* reference = nullptr;
};

std::string withFile(std::string pattern, const std::string& file) {
    return pattern.replace(pattern.find("%s"), 2, "'" + file + "'");
}

// A PAM with an alpha channel; returns the picture composed over white.
Rgb writeRgbaPam(const std::string& path, const Rgb& rgb) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << rgb.width << "\nHEIGHT " << rgb.height
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    Rgb composed = rgb;
    for (size_t i = 0; i < rgb.pixels.size(); i += 3) {
        const int x = int(i / 3 % rgb.width), y = int(i / 3 / rgb.width);
        const int a = (x * 7 + y * 11) % 5 * 60 + (x == 0 ? 15 : 0);
        out.write(reinterpret_cast<const char*>(&rgb.pixels[i]), 3).put(char(a));
        for (int k = 0; k < 3; ++k)
            composed.pixels[i + k] = uint8_t((rgb.pixels[i + k] * a + 255 * (255 - a) + 127) / 255);
    }
    return composed;
}

class FromEncoders : public ::testing::TestWithParam<EncoderCase> {};

TEST_P(FromEncoders, DecodesPixelForPixel) {
    const EncoderCase& c = GetParam();
    TempDir dir;
    const std::string in = dir.file(c.source == kWithAlpha ? "in.pam" : "in.ppm"),
                      out = dir.file("out");
    Rgb expected = c.source > 0 ? paletteFixture(37, 23, c.source) : patternPicture(37, 23);
    if (c.source == kGrey)
        for (size_t i = 0; i < expected.pixels.size(); i += 3)
            expected.pixels[i + 1] = expected.pixels[i + 2] = expected.pixels[i];
    if (c.source == kWithAlpha)
        expected = writeRgbaPam(in, expected);
    else
        ASSERT_TRUE(writePpm(in, expected));
    ASSERT_TRUE(run(withFile(c.command, in) + " > '" + out + "' 2>/dev/null"));
    if (c.reference) {
        ASSERT_TRUE(run(withFile(c.reference, out) + " > '" + dir.file("ref.ppm") + "'"));
        expected = readNetpbm(dir.file("ref.ppm"));
    }
    const std::vector<uint8_t> bytes = readAll(out);
    ASSERT_TRUE(c.codec.sniff(bytes.data(), bytes.size()));
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(c.codec, bytes, b);
    ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
    EXPECT_TRUE(r.detail.empty());
    EXPECT_EQ(b.bitCount(), c.bitCount);
    EXPECT_EQ(r.trueBitCount, c.bitCount);
    EXPECT_EQ(r.trueWidth * 100 + r.trueHeight, 3723);
    EXPECT_LE(maxDiff(b, expected), c.tolerance);
}

// ImageMagick 6 writes TGA rows without a stated orientation top row first but marks them
// bottom-up (netpbm's tgatoppm reads such files upside down too), hence -orient TopLeft.
// ImageMagick reading 4-bit BMP channels and ilbmtoppm widening a HAM value shift (15 -> 240), we
// repeat the bits (15 -> 255), so the two readings differ by up to the dropped bits.
INSTANTIATE_TEST_SUITE_P(
    AllDepths, FromEncoders,
    ::testing::Values(
        EncoderCase{"pcxMono", pr::pcxCodec(), 2, "ppmtopcx -quiet %s", 1},
        EncoderCase{"pcxTwoPlanes", pr::pcxCodec(), 4, "ppmtopcx -quiet -planes=2 %s", 4},
        EncoderCase{"pcxThreePlanes", pr::pcxCodec(), 5, "ppmtopcx -quiet %s", 4},
        EncoderCase{"pcxEgaFourPlanes", pr::pcxCodec(), 16, "ppmtopcx -quiet -planes=4 %s", 4},
        EncoderCase{"pcxPackedTwoBits", pr::pcxCodec(), 4, "ppmtopcx -quiet -packed %s", 4},
        EncoderCase{"pcxPackedFourBits", pr::pcxCodec(), 16, "ppmtopcx -quiet -packed %s", 4},
        EncoderCase{"pcxEightBitFewColours", pr::pcxCodec(), 16, "ppmtopcx -quiet -8bit %s", 8},
        EncoderCase{"pcxEightBit", pr::pcxCodec(), 200, "ppmtopcx -quiet %s", 8},
        EncoderCase{"pcxThreePlanesOf8", pr::pcxCodec(), kTrueColour, "ppmtopcx -quiet %s", 24},
        EncoderCase{"pcxForced24", pr::pcxCodec(), 30, "ppmtopcx -quiet -24bit %s", 24},
        EncoderCase{"pcxImageMagick8", pr::pcxCodec(), 60,
                    "/usr/bin/convert %s -type Palette PCX:-", 8},
        EncoderCase{"pcxImageMagick24", pr::pcxCodec(), kTrueColour, "/usr/bin/convert %s PCX:-",
                    24},
        EncoderCase{"tgaMappedRle", pr::tgaCodec(), 60, "pamtotga -quiet -cmap %s", 8},
        EncoderCase{"tgaMappedRaw", pr::tgaCodec(), 60, "pamtotga -quiet -cmap -norle %s", 8},
        EncoderCase{"tgaMapOf16BitEntries", pr::tgaCodec(), 60, "pamtotga -quiet -cmap16 %s", 8, 8},
        EncoderCase{"tgaGreyRle", pr::tgaCodec(), kGrey, "ppmtopgm %s | pamtotga -quiet -mono", 8},
        EncoderCase{"tgaGreyRaw", pr::tgaCodec(), kGrey,
                    "ppmtopgm %s | pamtotga -quiet -mono -norle", 8},
        EncoderCase{"tgaRgbRle", pr::tgaCodec(), kTrueColour, "pamtotga -quiet -rgb %s", 24},
        EncoderCase{"tgaRgbRaw", pr::tgaCodec(), kTrueColour, "pamtotga -quiet -rgb -norle %s", 24},
        EncoderCase{"tgaImageMagickRle", pr::tgaCodec(), kTrueColour,
                    "/usr/bin/convert %s -orient TopLeft -compress RLE TGA:-", 24},
        EncoderCase{"tgaImageMagickMappedRle", pr::tgaCodec(), 60,
                    "/usr/bin/convert %s -orient TopLeft -type Palette -compress RLE TGA:-", 8},
        EncoderCase{"tgaImageMagick16Bit", pr::tgaCodec(), kTrueColour,
                    "/usr/bin/convert %s -orient TopLeft -depth 5 TGA:-", 24, 1,
                    "tgatoppm %s | pamdepth 255"},
        EncoderCase{"tgaImageMagickAlpha", pr::tgaCodec(), kWithAlpha,
                    "/usr/bin/convert %s -orient TopLeft TGA:-", 24, 1},
        EncoderCase{"tgaImageMagickAlphaRle", pr::tgaCodec(), kWithAlpha,
                    "/usr/bin/convert %s -orient TopLeft -compress RLE TGA:-", 24, 1},
        EncoderCase{"bmpImageMagickAlpha", pr::bmpCodec(), kWithAlpha, "/usr/bin/convert %s BMP:-",
                    24, 1},
        EncoderCase{"bmpImageMagickArgb4444", pr::bmpCodec(), kWithAlpha,
                    "/usr/bin/convert %s -define bmp:subtype=ARGB4444 BMP:-", 24, 15,
                    "/usr/bin/convert %s -background white -flatten PPM:-"},
        EncoderCase{"bmpImageMagickRgb565", pr::bmpCodec(), kTrueColour,
                    "/usr/bin/convert %s -define bmp:subtype=RGB565 BMP:-", 24, 1,
                    "/usr/bin/convert %s PPM:-"},
        EncoderCase{"iffOnePlane", pr::iffCodec(), 2, "ppmtoilbm -quiet %s", 1},
        EncoderCase{"iffThreePlanes", pr::iffCodec(), 5, "ppmtoilbm -quiet %s", 4},
        EncoderCase{"iffFourPlanes", pr::iffCodec(), 16, "ppmtoilbm -quiet %s", 4},
        EncoderCase{"iffFourPlanesUncompressed", pr::iffCodec(), 16,
                    "ppmtoilbm -quiet -nocompress %s", 4},
        EncoderCase{"iffSevenPlanes", pr::iffCodec(), 100, "ppmtoilbm -quiet -maxplanes 8 %s", 8},
        EncoderCase{"iffEightPlanes", pr::iffCodec(), 200,
                    "ppmtoilbm -quiet -maxplanes 8 -fixplanes 8 %s", 8},
        EncoderCase{"iffHam6", pr::iffCodec(), kTrueColour, "ppmtoilbm -quiet -ham6 %s", 24, 15,
                    "ilbmtoppm -quiet %s"},
        EncoderCase{"iffHam8", pr::iffCodec(), kTrueColour, "ppmtoilbm -quiet -ham8 %s", 24, 3,
                    "ilbmtoppm -quiet %s"},
        EncoderCase{"iffDeep24", pr::iffCodec(), kTrueColour, "ppmtoilbm -quiet -24force %s", 24},
        EncoderCase{"iffDeep24Uncompressed", pr::iffCodec(), kTrueColour,
                    "ppmtoilbm -quiet -24force -nocompress %s", 24}),
    [](const ::testing::TestParamInfo<EncoderCase>& i) { return std::string(i.param.name); });

// A file cut short keeps the rows decoded so far; the rest is white, or the lightest colour of a
// palette without white.
TEST(OwnCodecs, TruncatedDataKeepsTheDecodedRowsAndWhitensTheRest) {
    struct Case {
        const pr::Codec& codec;
        int colors;  // 0: true colour
        const char* command;
        size_t header;
        double keep;  // the part of the data after the header that is kept
        int keptRow, lostRow;
    } cases[] = {
        {pr::tgaCodec(), 0, "pamtotga -quiet -rgb", 0, 0.5, 22,
         0},  // bottom-up: the bottom row came first
        {pr::pcxCodec(), 0, "ppmtopcx -quiet", 128, 0.5, 0, 22},
        {pr::iffCodec(), 16, "ppmtoilbm -quiet", 0, 2.0 / 3, 0, 22},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const Rgb source = c.colors ? paletteFixture(37, 23, c.colors) : patternPicture(37, 23);
        ASSERT_TRUE(writePpm(dir.file("in.ppm"), source));
        ASSERT_TRUE(run(std::string(c.command) + " < '" + dir.file("in.ppm") + "' > '" +
                        dir.file("out") + "'"));
        std::vector<uint8_t> bytes = readAll(dir.file("out"));
        bytes.resize(c.header + size_t(double(bytes.size() - c.header) * c.keep));
        pr::ImageBuffer b;
        const pr::DecodeResult r = decodeBytes(c.codec, bytes, b);
        ASSERT_TRUE(r.ok());
        EXPECT_FALSE(r.detail.empty());
        uint32_t white = 0xFFFFFF;
        for (int i = 0, best = -1; b.bitCount() < 24 && i < (1 << b.bitCount()); ++i) {
            const pr::RgbQuad& q = b.info->colors[i];
            if (q.red + q.green + q.blue > best)
                best = q.red + q.green + q.blue, white = q.red | (q.green << 8) | (q.blue << 16);
        }
        for (int x = 0; x < 37; ++x) {
            EXPECT_EQ(rgbAt(b, x, c.keptRow), source.at(x, c.keptRow));
            EXPECT_EQ(rgbAt(b, x, c.lostRow), white);
        }
    }
}

// Every prefix and many one-byte changes of real files.
TEST(OwnCodecs, DamagedFilesGiveAnAnswerNeverACrash) {
    struct Case {
        const pr::Codec& codec;
        int colors;  // 0: true colour
        const char* command;
    } cases[] = {
        {pr::pcxCodec(), 60, "ppmtopcx -quiet"},
        {pr::pcxCodec(), 5, "ppmtopcx -quiet"},
        {pr::tgaCodec(), 20, "pamtotga -quiet -cmap"},
        {pr::tgaCodec(), 0, "/usr/bin/convert -alpha set -compress RLE - TGA:-"},
        {pr::iffCodec(), 20, "ppmtoilbm -quiet"},
        {pr::iffCodec(), 0, "ppmtoilbm -quiet -ham6"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(writePpm(dir.file("in.ppm"),
                             c.colors ? paletteFixture(13, 5, c.colors) : patternPicture(9, 4)));
        ASSERT_TRUE(run(std::string(c.command) + " < '" + dir.file("in.ppm") + "' > '" +
                        dir.file("out") + "'"));
        feedDamagedVariants(c.codec, readAll(dir.file("out")));
    }
}

}  // namespace
