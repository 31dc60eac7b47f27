// GIF reader against files written by netpbm and ImageMagick at test time.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "imaging/codecs/Codec.h"

using namespace testsupport;

namespace {

uint32_t shownColour(const pr::ImageBuffer& b, int x, int y) {
    const pr::RgbQuad& q = b.info->colors[pr::getpixel(b, x, y)];
    return q.red | (q.green << 8) | (q.blue << 16);
}

pr::DecodeResult decodeFile(const std::string& path, pr::ImageBuffer& out) {
    const std::vector<uint8_t> bytes = readAll(path);
    return pr::gifCodec().decode(bytes.data(), bytes.size(), pr::DecodeOptions{}, out);
}

int mismatches(const pr::ImageBuffer& b, const Rgb& ref, int ox = 0, int oy = 0) {
    int bad = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) bad += shownColour(b, ox + x, oy + y) != ref.at(x, y);
    return bad;
}

class GifCodecTest : public ::testing::Test {
protected:
    // A quantised pattern picture as the reference PPM; `colours` picks the palette size.
    Rgb makeReference(const std::string& name, int w, int h, int colours) {
        const std::string raw = dir.file(name + "-raw.ppm"), ref = dir.file(name + ".ppm");
        EXPECT_TRUE(writePpm(raw, patternPicture(w, h, 7)));
        EXPECT_TRUE(run("pnmquant " + std::to_string(colours) + " " + raw + " > " + ref + " 2>/dev/null"));
        return readNetpbm(ref);
    }
    TempDir dir;
    pr::ImageBuffer img;
};

TEST_F(GifCodecTest, SniffsBothVersionsOnly) {
    EXPECT_TRUE(pr::gifCodec().sniff(reinterpret_cast<const uint8_t*>("GIF87a"), 6));
    EXPECT_TRUE(pr::gifCodec().sniff(reinterpret_cast<const uint8_t*>("GIF89a...."), 10));
    EXPECT_FALSE(pr::gifCodec().sniff(reinterpret_cast<const uint8_t*>("GIF88a"), 6));
    EXPECT_FALSE(pr::gifCodec().sniff(reinterpret_cast<const uint8_t*>("GIF8"), 4));
}

TEST_F(GifCodecTest, PalettePicturesFromNetpbmMatchPixelForPixel) {
    for (int colours : {2, 16, 256}) {
        for (bool interlace : {false, true}) {
            SCOPED_TRACE(std::to_string(colours) + (interlace ? " interlaced" : ""));
            const std::string name = "q" + std::to_string(colours) + (interlace ? "i" : "");
            const Rgb ref = makeReference(name, 37, 29, colours);  // odd sizes: no row lines up by luck
            ASSERT_GT(ref.width, 0);
            const std::string gif = dir.file(name + ".gif");
            ASSERT_TRUE(run(std::string("pamtogif ") + (interlace ? "-interlace " : "") + dir.file(name + ".ppm") +
                            " > " + gif + " 2>/dev/null"));
            const pr::DecodeResult r = decodeFile(gif, img);
            ASSERT_TRUE(r.ok()) << r.detail;
            EXPECT_EQ(img.bitCount(), 8);
            EXPECT_EQ(img.width(), 37);
            EXPECT_EQ(img.height(), 29);
            EXPECT_TRUE(img.hasPalette);
            EXPECT_EQ(mismatches(img, ref), 0);
        }
    }
}

TEST_F(GifCodecTest, InterlacedFileFromImageMagickAndGreyPicture) {
    const std::string pgm = dir.file("grey.pgm"), gif = dir.file("grey.gif");
    ASSERT_TRUE(writePpm(dir.file("g.ppm"), patternPicture(50, 41, 3)));
    // Sixteen grey levels, so that ImageMagick keeps every value instead of reducing them.
    ASSERT_TRUE(run("ppmtopgm " + dir.file("g.ppm") + " | pamdepth 15 | pamdepth 255 > " + pgm));
    ASSERT_TRUE(run(std::string(kConvert) + " " + pgm + " -interlace GIF " + gif));
    ASSERT_TRUE(decodeFile(gif, img).ok());
    const Rgb ref = readNetpbm(pgm);
    EXPECT_EQ(mismatches(img, ref), 0);
}

TEST_F(GifCodecTest, FrameIsPlacedOnItsLogicalScreenFilledWithBackground) {
    const Rgb ref = makeReference("frame", 20, 10, 16);
    const std::string gif = dir.file("frame.gif");
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("frame.ppm") + " -background '#FF0000' -set page 40x30+5+7 " + gif));
    ASSERT_TRUE(decodeFile(gif, img).ok());
    ASSERT_EQ(img.width(), 40);
    ASSERT_EQ(img.height(), 30);
    EXPECT_EQ(mismatches(img, ref, 5, 7), 0);
    // Outside the frame: the global table's background entry, whatever colour the writer chose.
    const std::vector<uint8_t> bytes = readAll(gif);
    const int bg = bytes[11];
    const uint32_t bgColour = bytes[13 + 3 * bg] | (bytes[14 + 3 * bg] << 8) | (bytes[15 + 3 * bg] << 16);
    for (auto [x, y] : {std::pair{0, 0}, {39, 29}, {4, 7}, {25, 17}, {5, 6}})
        EXPECT_EQ(shownColour(img, x, y), bgColour) << x << "," << y;
}

TEST_F(GifCodecTest, TransparentIndexShowsItsOwnColour) {
    const Rgb ref = makeReference("tr", 16, 16, 8);
    const uint32_t c = ref.at(3, 3);
    char spec[32];
    std::snprintf(spec, sizeof spec, "rgb:%02x/%02x/%02x", c & 0xFF, (c >> 8) & 0xFF, c >> 16);
    const std::string gif = dir.file("tr.gif");
    ASSERT_TRUE(run("pamtogif -transparent=" + std::string(spec) + " " + dir.file("tr.ppm") + " > " + gif + " 2>/dev/null"));
    ASSERT_NE(readAll(gif).size(), 0u);
    ASSERT_TRUE(decodeFile(gif, img).ok());
    EXPECT_EQ(shownColour(img, 3, 3), c);
    EXPECT_EQ(mismatches(img, ref), 0);
}

TEST_F(GifCodecTest, FileWithoutColourTableGetsGreyRamp) {
    makeReference("nt", 12, 9, 4);
    const std::string gif = dir.file("nt.gif");
    ASSERT_TRUE(run("pamtogif " + dir.file("nt.ppm") + " > " + gif + " 2>/dev/null"));
    std::vector<uint8_t> bytes = readAll(gif);
    ASSERT_TRUE(bytes[10] & 0x80);
    const size_t tableBytes = 3u << ((bytes[10] & 7) + 1);
    bytes.erase(bytes.begin() + 13, bytes.begin() + 13 + static_cast<long>(tableBytes));
    bytes[10] &= 0x7F;
    ASSERT_TRUE(pr::gifCodec().decode(bytes.data(), bytes.size(), {}, img).ok());
    for (int x = 0; x < 12; ++x) {
        const uint32_t index = pr::getpixel(img, x, 4);
        EXPECT_LT(index, 4u);
        EXPECT_EQ(shownColour(img, x, 4), index * 0x010101u);
    }
}

TEST_F(GifCodecTest, TruncatedDataKeepsDecodedRowsAndTurnsTheRestWhite) {
    // Noise compresses poorly, so half the file is about half the rows. 200 colours leave a free
    // table slot for white.
    const Rgb ref = makeReference("cut", 64, 64, 200);
    const std::string gif = dir.file("cut.gif");
    ASSERT_TRUE(run("pamtogif " + dir.file("cut.ppm") + " > " + gif + " 2>/dev/null"));
    std::vector<uint8_t> bytes = readAll(gif);
    bytes.resize(bytes.size() / 2);
    const pr::DecodeResult r = pr::gifCodec().decode(bytes.data(), bytes.size(), {}, img);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(img.height(), 64);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(shownColour(img, x, 0), ref.at(x, 0));
    for (int x = 0; x < 64; ++x) EXPECT_EQ(shownColour(img, x, 63), 0xFFFFFFu);
}

TEST_F(GifCodecTest, BrokenHeadersGiveAMessageAndNoPicture) {
    makeReference("h", 8, 8, 4);
    const std::string gif = dir.file("h.gif");
    ASSERT_TRUE(run("pamtogif " + dir.file("h.ppm") + " > " + gif + " 2>/dev/null"));
    const std::vector<uint8_t> whole = readAll(gif);
    // Cut inside the screen descriptor, inside the colour table, before the image descriptor ends,
    // and right after it (no pixel row at all).
    for (size_t keep : {size_t{6}, size_t{11}, size_t{20}, size_t{13 + 12 + 5}, size_t{13 + 12 + 10}}) {
        SCOPED_TRACE(keep);
        const pr::DecodeResult r = pr::gifCodec().decode(whole.data(), keep, {}, img);
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(img.valid());
        EXPECT_GT(pr::imageErrorText(r.error, r.detail).size(), 5u);
    }
}

// A minimal file without colour tables whose LZW stream (clear, 0, end) holds exactly one pixel.
std::vector<uint8_t> handMadeGif(int sw, int sh, int left, int top, int w, int h) {
    std::vector<uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    auto le16 = [&b](int v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
    le16(sw); le16(sh);
    b.insert(b.end(), {0x00, 0x00, 0x00, 0x2C});
    le16(left); le16(top); le16(w); le16(h);
    b.insert(b.end(), {0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B});
    return b;
}

TEST_F(GifCodecTest, OversizedScreenAndFrameAreRefusedBeforeAllocating) {
    for (auto dims : {std::array<int, 6>{65535, 65535, 0, 0, 65535, 65535},
                      std::array<int, 6>{1, 1, 0, 0, 65535, 65535}}) {
        const auto bytes = handMadeGif(dims[0], dims[1], dims[2], dims[3], dims[4], dims[5]);
        const pr::DecodeResult r = pr::gifCodec().decode(bytes.data(), bytes.size(), {}, img);
        EXPECT_EQ(r.error, pr::ImageError::TooLarge);
        EXPECT_FALSE(img.valid());
    }
}

TEST_F(GifCodecTest, FrameOutsideItsScreenIsShownAtItsOwnSize) {
    // A far-off offset on a small screen must not turn into a huge empty canvas.
    const auto bytes = handMadeGif(4, 4, 60000, 60000, 1, 1);
    const pr::DecodeResult r = pr::gifCodec().decode(bytes.data(), bytes.size(), {}, img);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(img.width(), 1);
    EXPECT_EQ(img.height(), 1);
    EXPECT_EQ(shownColour(img, 0, 0), 0u);
}

TEST_F(GifCodecTest, RandomDamageNeverCrashes) {
    makeReference("fz", 24, 20, 64);
    const std::string gif = dir.file("fz.gif");
    ASSERT_TRUE(run("pamtogif -interlace " + dir.file("fz.ppm") + " > " + gif + " 2>/dev/null"));
    const std::vector<uint8_t> whole = readAll(gif);
    std::mt19937 rng(11);
    for (int i = 0; i < 500; ++i) {
        std::vector<uint8_t> bytes = whole;
        for (int k = 0; k < 4; ++k) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        bytes.resize(6 + rng() % (bytes.size() - 5));
        const pr::DecodeResult r = pr::gifCodec().decode(bytes.data(), bytes.size(), {}, img);
        EXPECT_EQ(r.ok(), img.valid());
    }
}

}  // namespace
