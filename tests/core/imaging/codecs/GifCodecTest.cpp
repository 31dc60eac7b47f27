// GIF reader against files written by netpbm and ImageMagick at test time.

#include <array>
#include <cstdio>
#include <cstring>

#include "CodecTestSupport.h"
#include "core/io/ByteWriter.h"

using namespace testsupport;
using codectest::decodeBytes;
using codectest::maxDiff;
using codectest::rgbAt;

namespace {

class GifCodecTest : public ::testing::Test {
protected:
    // A pattern picture quantised by pnmquant to `colours` as <name>.ppm; returns it.
    Rgb makeReference(const std::string& name, int w, int h, int colours) {
        const std::string raw = dir.file(name + "-raw.ppm"), ref = dir.file(name + ".ppm");
        EXPECT_TRUE(writePpm(raw, patternPicture(w, h, 7)));
        EXPECT_TRUE(
            run("pnmquant " + std::to_string(colours) + " " + raw + " > " + ref + " 2>/dev/null"));
        return readNetpbm(ref);
    }
    // pamtogif with `options` on <name>.ppm; returns the file's bytes.
    std::vector<uint8_t> pamtogif(const std::string& name, const std::string& options = "") {
        const std::string gif = dir.file(name + ".gif");
        EXPECT_TRUE(run("pamtogif " + options + " " + dir.file(name + ".ppm") + " > " + gif +
                        " 2>/dev/null"));
        return readAll(gif);
    }
    TempDir dir;
    pr::ImageBuffer img;
};

TEST_F(GifCodecTest, SniffsBothVersionsOnly) {
    auto sniff = [](const char* s) {
        return pr::gifCodec().sniff(reinterpret_cast<const uint8_t*>(s), std::strlen(s));
    };
    EXPECT_TRUE(sniff("GIF87a"));
    EXPECT_TRUE(sniff("GIF89a...."));
    EXPECT_FALSE(sniff("GIF88a"));
    EXPECT_FALSE(sniff("GIF8"));
}

TEST_F(GifCodecTest, PicturesFromNetpbmAndImageMagickMatchPixelForPixel) {
    for (int colours : {2, 16, 256})
        for (bool interlace : {false, true}) {
            SCOPED_TRACE(std::to_string(colours) + (interlace ? " interlaced" : ""));
            const std::string name = "q" + std::to_string(colours) + (interlace ? "i" : "");
            const Rgb ref =
                makeReference(name, 37, 29, colours);  // odd sizes: no row lines up by luck
            const pr::DecodeResult r =
                decodeBytes(pr::gifCodec(), pamtogif(name, interlace ? "-interlace" : ""), img);
            ASSERT_TRUE(r.ok()) << r.detail;
            EXPECT_EQ(img.bitCount(), 8);
            EXPECT_TRUE(img.hasPalette);
            EXPECT_EQ(maxDiff(img, ref), 0);
        }
    // Sixteen grey levels, so that ImageMagick keeps every value instead of reducing them.
    const std::string pgm = dir.file("grey.pgm"), gif = dir.file("grey.gif");
    ASSERT_TRUE(writePpm(dir.file("g.ppm"), patternPicture(50, 41, 3)));
    ASSERT_TRUE(run("ppmtopgm " + dir.file("g.ppm") + " | pamdepth 15 | pamdepth 255 > " + pgm));
    ASSERT_TRUE(run(std::string(kConvert) + " " + pgm + " -interlace GIF " + gif));
    ASSERT_TRUE(decodeBytes(pr::gifCodec(), readAll(gif), img).ok());
    EXPECT_EQ(maxDiff(img, readNetpbm(pgm)), 0);
}

TEST_F(GifCodecTest, FrameIsPlacedOnItsLogicalScreenFilledWithBackground) {
    const Rgb ref = makeReference("frame", 20, 10, 16);
    const std::string gif = dir.file("frame.gif");
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("frame.ppm") +
                    " -background '#FF0000' -set page 40x30+5+7 " + gif));
    const std::vector<uint8_t> bytes = readAll(gif);
    ASSERT_TRUE(decodeBytes(pr::gifCodec(), bytes, img).ok());
    ASSERT_EQ(img.width() * 100 + img.height(), 4030);
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
            ASSERT_EQ(rgbAt(img, x + 5, y + 7), ref.at(x, y)) << x << "," << y;
    // Outside the frame: the global table's background entry, whatever colour the writer chose.
    const int bg = 13 + 3 * bytes[11];
    const uint32_t bgColour = bytes[bg] | (bytes[bg + 1] << 8) | (bytes[bg + 2] << 16);
    for (auto [x, y] : {std::pair{0, 0}, {39, 29}, {4, 7}, {25, 17}, {5, 6}})
        EXPECT_EQ(rgbAt(img, x, y), bgColour) << x << "," << y;
}

TEST_F(GifCodecTest, TransparentIndexShowsItsOwnColour) {
    const Rgb ref = makeReference("tr", 16, 16, 8);
    const uint32_t c = ref.at(3, 3);
    char option[48];
    std::snprintf(option, sizeof option, "-transparent=rgb:%02x/%02x/%02x", c & 0xFF,
                  (c >> 8) & 0xFF, c >> 16);
    ASSERT_TRUE(decodeBytes(pr::gifCodec(), pamtogif("tr", option), img).ok());
    EXPECT_EQ(maxDiff(img, ref), 0);
}

TEST_F(GifCodecTest, FileWithoutColourTableGetsGreyRamp) {
    makeReference("nt", 12, 9, 4);
    std::vector<uint8_t> bytes = pamtogif("nt");
    ASSERT_TRUE(bytes[10] & 0x80);
    bytes.erase(bytes.begin() + 13, bytes.begin() + 13 + (3l << ((bytes[10] & 7) + 1)));
    bytes[10] &= 0x7F;
    ASSERT_TRUE(decodeBytes(pr::gifCodec(), bytes, img).ok());
    for (int x = 0; x < 12; ++x) {
        EXPECT_LT(pr::getpixel(img, x, 4), 4u);
        EXPECT_EQ(rgbAt(img, x, 4), pr::getpixel(img, x, 4) * 0x010101u);
    }
}

TEST_F(GifCodecTest, TruncatedDataKeepsDecodedRowsAndTurnsTheRestWhite) {
    // Noise compresses poorly, so half the file is about half the rows. 200 colours leave a free
    // table slot for white.
    const Rgb ref = makeReference("cut", 64, 64, 200);
    std::vector<uint8_t> bytes = pamtogif("cut");
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(decodeBytes(pr::gifCodec(), bytes, img).ok());
    ASSERT_EQ(img.height(), 64);
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(rgbAt(img, x, 0), ref.at(x, 0));
        EXPECT_EQ(rgbAt(img, x, 63), 0xFFFFFFu);
    }
}

TEST_F(GifCodecTest, BrokenHeadersGiveAMessageAndNoPicture) {
    makeReference("h", 8, 8, 4);
    const std::vector<uint8_t> whole = pamtogif("h");
    // Cut inside the screen descriptor, inside the colour table, before the image descriptor ends,
    // and right after it (no pixel row at all).
    for (size_t keep :
         {size_t{6}, size_t{11}, size_t{20}, size_t{13 + 12 + 5}, size_t{13 + 12 + 10}}) {
        const pr::DecodeResult r = pr::decodeWith(pr::gifCodec(), whole.data(), keep, {}, img);
        EXPECT_FALSE(r.ok()) << keep;
        EXPECT_FALSE(img.valid()) << keep;
        EXPECT_GT(pr::imageErrorText(r.error, r.detail).size(), 5u) << keep;
    }
}

// A minimal file without colour tables whose LZW stream (clear, 0, end) holds exactly one pixel.
std::vector<uint8_t> handMadeGif(int sw, int sh, int left, int top, int w, int h) {
    static const uint8_t kScreenRest[] = {0x00, 0x00, 0x00, 0x2C};
    static const uint8_t kPixel[] = {0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    pr::ByteWriter b;
    b.bytes("GIF89a", 6).u16(uint16_t(sw)).u16(uint16_t(sh)).bytes(kScreenRest, 4);
    b.u16(uint16_t(left)).u16(uint16_t(top)).u16(uint16_t(w)).u16(uint16_t(h));
    b.bytes(kPixel, sizeof kPixel);
    return b.take();
}

TEST_F(GifCodecTest, OversizedScreenAndFrameAreRefusedAndAFarFrameKeepsItsSize) {
    for (const auto& bytes :
         {handMadeGif(65535, 65535, 0, 0, 65535, 65535), handMadeGif(1, 1, 0, 0, 65535, 65535)}) {
        EXPECT_EQ(decodeBytes(pr::gifCodec(), bytes, img).error, pr::ImageError::TooLarge);
        EXPECT_FALSE(img.valid());
    }
    // A far-off offset on a small screen must not turn into a huge empty canvas.
    const pr::DecodeResult r =
        decodeBytes(pr::gifCodec(), handMadeGif(4, 4, 60000, 60000, 1, 1), img);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(img.width() * 10 + img.height(), 11);
    EXPECT_EQ(rgbAt(img, 0, 0), 0u);
}

TEST_F(GifCodecTest, RandomDamageNeverCrashes) {
    makeReference("fz", 24, 20, 64);
    const std::vector<uint8_t> whole = pamtogif("fz", "-interlace");
    std::mt19937 rng(11);
    for (int i = 0; i < 500; ++i) {
        std::vector<uint8_t> bytes = whole;
        for (int k = 0; k < 4; ++k) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        bytes.resize(6 + rng() % (bytes.size() - 5));
        const bool ok = decodeBytes(pr::gifCodec(), bytes, img).ok();
        EXPECT_EQ(ok, img.valid());
    }
}

}  // namespace
