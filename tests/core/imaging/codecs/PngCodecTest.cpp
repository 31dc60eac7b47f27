#include <gtest/gtest.h>

#include <zlib.h>

#include "CodecTestSupport.h"
#include "core/io/ByteWriter.h"

using namespace pr;
using namespace testsupport;
using codectest::maxDiff;

namespace {

// The pictures every variant starts from, made in `dir`.
void makeSources(const TempDir& dir) {
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(37, 23, 11)));
    const std::string src = dir.file("src.ppm");
    ASSERT_TRUE(run("ppmtopgm " + src + " > " + dir.file("grey.pgm")));
    for (int n : {2, 4, 16, 200})
        ASSERT_TRUE(run(std::string(kConvert) + " " + src + " -colors " + std::to_string(n) +
                        " -depth 8 " + dir.file("q" + std::to_string(n) + ".ppm")));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("grey.pgm") +
                    " -threshold 50% -depth 8 " + dir.file("mask.pgm")));
    ASSERT_TRUE(run("pamdepth 65535 " + src + " > " + dir.file("src16.ppm")));
    ASSERT_TRUE(run("pamdepth 65535 " + dir.file("grey.pgm") + " > " + dir.file("grey16.pgm")));
}

std::vector<uint8_t> chunk(const char* type, const std::vector<uint8_t>& body) {
    pr::ByteWriter c(pr::ByteOrder::Big);
    c.u32(uint32_t(body.size())).bytes(type, 4).bytes(body.data(), body.size());
    c.u32(uint32_t(crc32(0, c.data().data() + 4, uInt(c.size() - 4))));
    return c.take();
}

std::vector<uint8_t> pngHeaderOnly(uint32_t w, uint32_t h) {
    std::vector<uint8_t> f = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, ihdr(13, 0);
    for (int i = 0; i < 4; ++i)
        ihdr[i] = uint8_t(w >> (24 - 8 * i)), ihdr[4 + i] = uint8_t(h >> (24 - 8 * i));
    ihdr[8] = 8, ihdr[9] = 2;
    for (const auto& c : {chunk("IHDR", ihdr), chunk("IDAT", {}), chunk("IEND", {})})
        f.insert(f.end(), c.begin(), c.end());
    return f;
}

// Every colour type and depth, each file compared with netpbm's own reading of it composed over
// white.
TEST(PngCodec, EveryColourTypeAndDepthDecodesLikeNetpbm) {
    TempDir dir;
    makeSources(dir);
    struct Case {
        const char* name;
        const char* encode;  // shell command run in the scratch folder, writes to stdout
        int bits, tolerance;
    } cases[] = {
        {"Grey1", "pgmtopbm grey.pgm | pnmtopng -force", 1, 0},
        {"Grey2", "pamdepth 3 grey.pgm | pnmtopng -force", 4, 0},
        {"Grey4", "pamdepth 15 grey.pgm | pnmtopng -force", 4, 0},
        {"Grey8", "pnmtopng -force grey.pgm", 8, 0},
        {"Grey16", "pnmtopng -force grey16.pgm", 8, 0},
        {"Grey8Trns", "pnmtopng -force -transparent =rgb:80/80/80 grey.pgm", 8, 0},
        {"Grey2Trns", "pamdepth 3 grey.pgm | pnmtopng -force -transparent =rgb:55/55/55", 4, 0},
        {"Grey16Trns", "pnmtopng -force -transparent =rgb:80/80/80 grey16.pgm", 24, 0},
        {"GreyAlpha8", "pnmtopng -force -alpha=grey.pgm grey.pgm", 24, 1},
        {"GreyAlpha16", "pnmtopng -force -alpha=grey16.pgm grey16.pgm", 24, 1},
        {"Palette1", "pnmtopng q2.ppm", 1, 0},
        {"Palette2", "pnmtopng q4.ppm", 4, 0},
        {"Palette4", "pnmtopng q16.ppm", 4, 0},
        {"Palette8", "pnmtopng q200.ppm", 8, 0},
        {"PaletteTrns", "pnmtopng -alpha=mask.pgm q16.ppm", 8, 0},
        {"Rgb8", "pnmtopng -force src.ppm", 24, 0},
        {"Rgb16", "pnmtopng -force src16.ppm", 24, 0},
        {"Rgb8Trns", "pnmtopng -force -transparent =rgb:e6/e6/e6 src.ppm", 24, 0},
        {"Rgba8", "pnmtopng -force -alpha=grey.pgm src.ppm", 24, 1},
        {"Rgba16", "pnmtopng -force -alpha=grey16.pgm src16.ppm", 24, 1},
        {"InterlacedRgb16", "pnmtopng -force -interlace src16.ppm", 24, 0},
        {"InterlacedPalette2", "pnmtopng -interlace q4.ppm", 4, 0},
        {"InterlacedRgba", "pnmtopng -force -interlace -alpha=grey.pgm src.ppm", 24, 1},
        {"InterlacedGrey1", "pgmtopbm grey.pgm | pnmtopng -force -interlace", 1, 0},
    };
    const std::string cd = "cd " + dir.path().string() + " && ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(run(cd + c.encode + " > pic.png 2>/dev/null")) << c.encode;
        ASSERT_TRUE(run(cd + "pngtopam -mix -background=white pic.png | pamdepth 255 > ref.pnm"));
        ImageBuffer img;
        ASSERT_TRUE(OpenDib(img, dir.file("pic.png"), kFormatPng)) << img.message;
        EXPECT_EQ(img.bitCount(), c.bits);
        EXPECT_LE(maxDiff(img, readNetpbm(dir.file("ref.pnm"))), c.tolerance);
    }
}

TEST(PngCodec, TruncatedFileKeepsTheRowsItHasAndTheRestIsWhite) {
    TempDir dir;
    const Rgb src = patternPicture(64, 64, 5);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(
        run("pnmtopng -force -compression 0 " + dir.file("src.ppm") + " > " + dir.file("a.png")));
    auto bytes = readAll(dir.file("a.png"));
    bytes.resize(bytes.size() / 2);
    ImageBuffer img;
    const DecodeResult r = decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img);
    ASSERT_TRUE(r.ok()) << img.message;
    EXPECT_EQ(maxDiff(img, src, 20), 0);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(getpixel(img, x, 63), 0xFFFFFFu);
}

TEST(PngCodec, BrokenFilesGiveAMessageAndNoPicture) {
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(16, 16)));
    ASSERT_TRUE(run("pnmtopng -force " + dir.file("src.ppm") + " > " + dir.file("a.png")));
    const auto good = readAll(dir.file("a.png"));
    auto badCrc = good;
    badCrc[20] ^= 0x40;  // inside IHDR
    auto cutHeader = good;
    cutHeader.resize(30);
    codectest::expectRefused({
        {"65536 x 65536", pngHeaderOnly(65536, 65536), ImageError::TooLarge},
        {"beyond the side limit", pngHeaderOnly(200000, 1), ImageError::TooLarge},
        {"zero width", pngHeaderOnly(0, 5), ImageError::Damaged},
        {"no pixel data", pngHeaderOnly(10, 10), ImageError::Damaged},
        {"IHDR CRC", badCrc, ImageError::Damaged},
        {"cut in the header", cutHeader, ImageError::Damaged},
    });
}

}  // namespace
