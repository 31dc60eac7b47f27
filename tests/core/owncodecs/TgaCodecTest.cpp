#include <algorithm>
#include <cstring>
#include <fstream>

#include "OwnCodecTestSupport.h"

using namespace owncodecs;
using namespace testsupport;

namespace {

enum class Source { Palette, Grey, TrueColour, WithAlpha };

struct EncoderCase {
    const char* name;
    Source source;
    const char* command;  // %s = input file, output to stdout
    int bitCount;
    int tolerance;  // 5-bit colours lose the low bits
    // When set, the reference is netpbm's own reading of the file (%s = the TGA) instead of the
    // source picture: for writers that quantise in their own way.
    const char* reference = nullptr;
};

Rgb greyFixture(int w, int h) {
    Rgb img = patternPicture(w, h);
    for (size_t i = 0; i < img.pixels.size(); i += 3)
        img.pixels[i + 1] = img.pixels[i + 2] = img.pixels[i];
    return img;
}

uint8_t alphaAt(int x, int y) {
    return static_cast<uint8_t>((x * 7 + y * 11) % 5 * 60 + (x == 0 ? 15 : 0));
}

// A PAM with an alpha channel; `composed` gets the picture composed over white.
bool writeRgbaPam(const std::string& path, const Rgb& rgb, Rgb& composed) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << rgb.width << "\nHEIGHT " << rgb.height
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    composed = rgb;
    for (int y = 0; y < rgb.height; ++y)
        for (int x = 0; x < rgb.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * rgb.width + x) * 3;
            const int a = alphaAt(x, y);
            for (int k = 0; k < 3; ++k) {
                out.put(static_cast<char>(rgb.pixels[i + k]));
                composed.pixels[i + k] =
                    static_cast<uint8_t>((rgb.pixels[i + k] * a + 255 * (255 - a) + 127) / 255);
            }
            out.put(static_cast<char>(a));
        }
    return static_cast<bool>(out);
}

class TgaFromEncoders : public ::testing::TestWithParam<EncoderCase> {};

TEST_P(TgaFromEncoders, DecodesPixelForPixel) {
    const EncoderCase& c = GetParam();
    TempDir dir;
    std::string in = dir.file("in.ppm");
    Rgb expected;
    switch (c.source) {
        case Source::Palette:
            expected = paletteFixture(37, 23, 60);
            break;
        case Source::Grey:
            expected = greyFixture(37, 23);
            break;
        case Source::TrueColour:
            expected = patternPicture(37, 23);
            break;
        case Source::WithAlpha:
            break;
    }
    if (c.source == Source::WithAlpha) {
        in = dir.file("in.pam");
        ASSERT_TRUE(writeRgbaPam(in, patternPicture(37, 23), expected));
    } else {
        ASSERT_TRUE(writePpm(in, expected));
    }
    std::string command = c.command;
    command.replace(command.find("%s"), 2, "'" + in + "'");
    ASSERT_TRUE(run(command + " > '" + dir.file("out.tga") + "' 2>/dev/null"));
    const std::vector<uint8_t> bytes = readAll(dir.file("out.tga"));
    ASSERT_TRUE(pr::tgaCodec().sniff(bytes.data(), bytes.size()));
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::tgaCodec(), bytes, b);
    ASSERT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
    EXPECT_TRUE(r.detail.empty());
    EXPECT_EQ(b.bitCount(), c.bitCount);
    EXPECT_EQ(r.trueBitCount, c.bitCount);
    EXPECT_EQ(r.trueWidth, 37);
    EXPECT_EQ(r.trueHeight, 23);
    if (c.reference) {
        std::string decode = c.reference;
        decode.replace(decode.find("%s"), 2, "'" + dir.file("out.tga") + "'");
        ASSERT_TRUE(run(decode + " > '" + dir.file("ref.ppm") + "'"));
        expected = readNetpbm(dir.file("ref.ppm"));
    }
    EXPECT_TRUE(samePicture(expected, toRgb(b), c.tolerance));
}

// ImageMagick 6 writes the rows of a picture without a stated orientation top row first but marks
// them bottom-up (netpbm's tgatoppm reads such files upside down too), so its files are made with
// -orient TopLeft, which also gives us an independent top-down writer.
INSTANTIATE_TEST_SUITE_P(
    AllDepths, TgaFromEncoders,
    ::testing::Values(
        EncoderCase{"mappedRle", Source::Palette, "pamtotga -quiet -cmap %s", 8, 0},
        EncoderCase{"mappedRaw", Source::Palette, "pamtotga -quiet -cmap -norle %s", 8, 0},
        EncoderCase{"mapOf16BitEntries", Source::Palette, "pamtotga -quiet -cmap16 %s", 8, 8},
        EncoderCase{"greyRle", Source::Grey, "ppmtopgm %s | pamtotga -quiet -mono", 8, 0},
        EncoderCase{"greyRaw", Source::Grey, "ppmtopgm %s | pamtotga -quiet -mono -norle", 8, 0},
        EncoderCase{"rgbRle", Source::TrueColour, "pamtotga -quiet -rgb %s", 24, 0},
        EncoderCase{"rgbRaw", Source::TrueColour, "pamtotga -quiet -rgb -norle %s", 24, 0},
        EncoderCase{"imageMagickRle", Source::TrueColour,
                    "/usr/bin/convert %s -orient TopLeft -compress RLE TGA:-", 24, 0},
        EncoderCase{"imageMagickMappedRle", Source::Palette,
                    "/usr/bin/convert %s -orient TopLeft -type Palette -compress RLE TGA:-", 8, 0},
        EncoderCase{"imageMagick16Bit", Source::TrueColour,
                    "/usr/bin/convert %s -orient TopLeft -depth 5 TGA:-", 24, 1,
                    "tgatoppm %s | pamdepth 255"},
        EncoderCase{"imageMagickAlpha", Source::WithAlpha,
                    "/usr/bin/convert %s -orient TopLeft TGA:-", 24, 1},
        EncoderCase{"imageMagickAlphaRle", Source::WithAlpha,
                    "/usr/bin/convert %s -orient TopLeft -compress RLE TGA:-", 24, 1}),
    [](const ::testing::TestParamInfo<EncoderCase>& i) { return std::string(i.param.name); });

// An 18-byte header, an optional colour map and the body.
std::vector<uint8_t> tga(int type, int depth, int w, int h, int descriptor,
                         const std::vector<uint8_t>& body, int mapFirst = 0, int mapLength = 0,
                         int mapBits = 0, const std::vector<uint8_t>& map = {}) {
    std::vector<uint8_t> v(18 + map.size() + body.size(), 0);
    v[1] = mapLength ? 1 : 0;
    v[2] = static_cast<uint8_t>(type);
    put16le(v, 3, mapFirst);
    put16le(v, 5, mapLength);
    v[7] = static_cast<uint8_t>(mapBits);
    put16le(v, 12, w);
    put16le(v, 14, h);
    v[16] = static_cast<uint8_t>(depth);
    v[17] = static_cast<uint8_t>(descriptor);
    std::copy(map.begin(), map.end(), v.begin() + 18);
    std::copy(body.begin(), body.end(), v.begin() + 18 + static_cast<long>(map.size()));
    return v;
}

uint32_t pixelOf(const std::vector<uint8_t>& file, int x, int y) {
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::tgaCodec(), file, b);
    EXPECT_TRUE(r.ok()) << pr::imageErrorText(r.error, r.detail);
    return toRgb(b).at(x, y);
}

TEST(TgaCodec, AllFourOrigins) {
    // File order A B / C D, stored blue-green-red.
    const std::vector<uint8_t> body = {1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0};
    auto topLeft = [&](int descriptor) {
        return pixelOf(tga(2, 24, 2, 2, descriptor, body), 0, 0) >> 16;
    };
    EXPECT_EQ(topLeft(0x00), 3u);  // bottom-up: the first file row is the bottom row
    EXPECT_EQ(topLeft(0x10), 4u);  // bottom-up, right to left
    EXPECT_EQ(topLeft(0x20), 1u);  // top-down
    EXPECT_EQ(topLeft(0x30), 2u);  // top-down, right to left
}

TEST(TgaCodec, PacketsCarryOnAcrossRows) {
    // 3 x 2 true colour: one run of five red pixels, then one raw blue pixel.
    const std::vector<uint8_t> file = tga(10, 24, 3, 2, 0x20, {0x84, 0, 0, 255, 0x00, 255, 0, 0});
    EXPECT_EQ(pixelOf(file, 2, 0), 0x0000FFu);
    EXPECT_EQ(pixelOf(file, 1, 1), 0x0000FFu);
    EXPECT_EQ(pixelOf(file, 2, 1), 0xFF0000u);
    // Colour-mapped RLE the same way.
    const std::vector<uint8_t> mapped =
        tga(9, 8, 3, 2, 0x20, {0x84, 1, 0x00, 0}, 0, 2, 24, {0, 0, 0, 0, 255, 0});
    EXPECT_EQ(pixelOf(mapped, 1, 1), 0x00FF00u);
    EXPECT_EQ(pixelOf(mapped, 2, 1), 0u);
}

TEST(TgaCodec, ColourMapStartsAtItsFirstEntryIndex) {
    // Map entries are colours 5 and 6; pixel values name them directly, 0 has no colour (black).
    const std::vector<uint8_t> file =
        tga(1, 8, 3, 1, 0, {5, 6, 0}, 5, 2, 24, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00});
    pr::ImageBuffer b;
    ASSERT_TRUE(decodeBytes(pr::tgaCodec(), file, b).ok());
    EXPECT_EQ(getpixel(b, 0, 0), 5u);
    const Rgb rgb = toRgb(b);
    EXPECT_EQ(rgb.at(0, 0), 0x0000FFu);  // red
    EXPECT_EQ(rgb.at(1, 0), 0xFF0000u);  // blue
    EXPECT_EQ(rgb.at(2, 0), 0u);
}

TEST(TgaCodec, AlphaIsComposedOverWhiteOnlyWhenItMeansSomething) {
    const std::vector<uint8_t> body = {0, 0, 200, 0,
                                       0, 0, 200, 255};  // two red pixels, alpha 0 and 255
    EXPECT_EQ(pixelOf(tga(2, 32, 2, 1, 8, body), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixelOf(tga(2, 32, 2, 1, 8, body), 1, 0), 0x0000C8u);
    // No attribute bits declared: alpha is padding.
    EXPECT_EQ(pixelOf(tga(2, 32, 2, 1, 0, body), 0, 0), 0x0000C8u);
    // Declared but zero everywhere, as many writers leave it: opaque.
    const std::vector<uint8_t> zero = {0, 0, 200, 0, 0, 0, 200, 0};
    EXPECT_EQ(pixelOf(tga(2, 32, 2, 1, 8, zero), 1, 0), 0x0000C8u);
    // Half alpha: half way to white.
    EXPECT_EQ(pixelOf(tga(2, 32, 1, 1, 8, {0, 0, 0, 128}), 0, 0), 0x7F7F7Fu);
    // 16 bits: the top bit is the attribute bit.
    const std::vector<uint8_t> sixteen = {0x00, 0x7C, 0x00, 0xFC};  // red, without and with the bit
    EXPECT_EQ(pixelOf(tga(2, 16, 2, 1, 1, sixteen), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixelOf(tga(2, 16, 2, 1, 1, sixteen), 1, 0), 0x0000FFu);
    EXPECT_EQ(pixelOf(tga(2, 16, 2, 1, 0, sixteen), 0, 0), 0x0000FFu);
    // A TGA 2.0 extension area that says "no alpha" wins over the descriptor.
    std::vector<uint8_t> ext = tga(2, 32, 2, 1, 8, body);
    const size_t at = ext.size();
    ext.resize(at + 495 + 26, 0);
    put16le(ext, at, 495);
    ext[at + 494] = 0;
    put16le(ext, at + 495, static_cast<int>(at));
    std::memcpy(&ext[at + 495 + 8], "TRUEVISION-XFILE.", 18);
    EXPECT_EQ(pixelOf(ext, 0, 0), 0x0000C8u);
}

TEST(TgaCodec, TruncatedDataKeepsTheDecodedRowsAndWhitensTheRest) {
    TempDir dir;
    const Rgb source = patternPicture(37, 23);
    ASSERT_TRUE(writePpm(dir.file("in.ppm"), source));
    ASSERT_TRUE(
        run("pamtotga -quiet -rgb '" + dir.file("in.ppm") + "' > '" + dir.file("o.tga") + "'"));
    std::vector<uint8_t> bytes = readAll(dir.file("o.tga"));
    bytes.resize(bytes.size() / 2);
    pr::ImageBuffer b;
    const pr::DecodeResult r = decodeBytes(pr::tgaCodec(), bytes, b);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.detail.empty());
    const Rgb got = toRgb(b);
    for (int x = 0; x < 37; ++x) {
        EXPECT_EQ(got.at(x, 22), source.at(x, 22));  // bottom-up: the bottom row came first
        EXPECT_EQ(got.at(x, 0), 0xFFFFFFu);
    }
    for (size_t n : {size_t{18}, size_t{10}}) {
        bytes.resize(n);
        EXPECT_EQ(decodeBytes(pr::tgaCodec(), bytes, b).error, pr::ImageError::Damaged) << n;
        EXPECT_FALSE(b.valid());
    }
}

TEST(TgaCodec, ForgedHeadersAreRefusedBeforeAllocating) {
    pr::ImageBuffer b;
    EXPECT_EQ(decodeBytes(pr::tgaCodec(),
                          tga(10, 24, 65535, 65535, 0, std::vector<uint8_t>(2000, 0xFF)), b)
                  .error,
              pr::ImageError::TooLarge);
    // A colour map that runs past the end of the file.
    EXPECT_EQ(
        decodeBytes(pr::tgaCodec(), tga(1, 8, 2, 2, 0, {0, 0, 0, 0}, 0, 256, 24, {1, 2, 3}), b)
            .error,
        pr::ImageError::Damaged);
    // 20000 x 10000 declared, six bytes present.
    EXPECT_EQ(decodeBytes(pr::tgaCodec(), tga(10, 24, 20000, 10000, 0, {0xFF, 1, 2, 3, 0xFF, 1}), b)
                  .error,
              pr::ImageError::Damaged);
    EXPECT_FALSE(b.valid());
}

// Found by fuzzing: 134 bytes announcing 3855 x 61711 pixels made us allocate and whiten 700 MB
// before finding that not even one row was there.
TEST(TgaCodec, TimeoutOnAStubAnnouncingAHugePicture) {
    const std::vector<uint8_t> stub = {
        0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x0F, 0x0D, 0x0F, 0x0F, 0x0F, 0x0F,
        0xF1, 0x0F, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x0F, 0x0D, 0x0F, 0x0F, 0x0F, 0x0F,
        0xF1, 0x0F, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0x7E, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF, 0xAF,
        0x80, 0x7E, 0x96, 0xF0, 0x80, 0x0F, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xF0, 0x00,
        0x00, 0x00, 0x00, 0x07, 0x00, 0x04, 0x00, 0x20, 0xDA, 0x08, 0x06, 0x00, 0x00, 0x01};
    pr::ImageBuffer b;
    EXPECT_EQ(decodeBytes(pr::tgaCodec(), stub, b).error, pr::ImageError::Damaged);
    EXPECT_FALSE(b.valid());
    // The same for a file that holds a few rows of 61711.
    std::vector<uint8_t> fewRows =
        tga(2, 24, 100, 61711, 0, std::vector<uint8_t>(100 * 3 * 40, 0x80));
    EXPECT_EQ(decodeBytes(pr::tgaCodec(), fewRows, b).error, pr::ImageError::Damaged);
}

TEST(TgaCodec, SnifferWantsFieldsThatAgree) {
    auto sniff = [](const std::vector<uint8_t>& v) {
        return pr::tgaCodec().sniff(v.data(), v.size());
    };
    const std::vector<uint8_t> px(12, 0);
    EXPECT_TRUE(sniff(tga(2, 24, 2, 2, 0, px)));
    EXPECT_TRUE(sniff(tga(3, 8, 2, 2, 0, px)));
    EXPECT_TRUE(sniff(tga(1, 8, 2, 2, 0, px, 0, 2, 24, std::vector<uint8_t>(6))));
    EXPECT_FALSE(sniff(tga(4, 24, 2, 2, 0, px)));  // unknown type
    EXPECT_FALSE(sniff(tga(2, 8, 2, 2, 0, px)));   // depth for the type
    EXPECT_FALSE(sniff(tga(2, 24, 0, 2, 0, px)));  // empty
    EXPECT_FALSE(sniff(tga(1, 8, 2, 2, 0, px)));   // mapped, no map
    EXPECT_FALSE(sniff(tga(1, 8, 2, 2, 0, px, 0, 2, 12, std::vector<uint8_t>(6))));  // entry size
    std::vector<uint8_t> pcxLike(128, 0);
    pcxLike[0] = 0x0A, pcxLike[1] = 5, pcxLike[2] = 1, pcxLike[3] = 8;
    EXPECT_FALSE(sniff(pcxLike));
    EXPECT_FALSE(sniff(std::vector<uint8_t>(17, 0)));
}

TEST(TgaCodec, DamagedFilesGiveAnAnswerNeverACrash) {
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("a.ppm"), paletteFixture(13, 5, 20)));
    ASSERT_TRUE(writePpm(dir.file("b.ppm"), patternPicture(9, 4)));
    ASSERT_TRUE(
        run("pamtotga -quiet -cmap '" + dir.file("a.ppm") + "' > '" + dir.file("a.tga") + "'"));
    ASSERT_TRUE(run("/usr/bin/convert '" + dir.file("b.ppm") + "' -alpha set -compress RLE TGA:'" +
                    dir.file("b.tga") + "'"));
    feedDamagedVariants(pr::tgaCodec(), readAll(dir.file("a.tga")));
    feedDamagedVariants(pr::tgaCodec(), readAll(dir.file("b.tga")));
}

}  // namespace
