#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "TestSupport.h"
#include "imaging/RasterLibrary.h"

using namespace pr;
using namespace testsupport;

namespace {

uint32_t rgbAt(const ImageBuffer& img, int x, int y) {
    const uint32_t v = getpixel(img, x, y);
    if (img.bitCount() == 24) return v;
    const RgbQuad& q = img.info->colors[v];
    return q.red | (q.green << 8) | (q.blue << 16);
}

int maxDiff(const ImageBuffer& img, const Rgb& ref, int rows = -1) {
    if (!img.valid() || img.width() != ref.width || img.height() != ref.height) return 1000;
    int worst = 0;
    for (int y = 0; y < (rows < 0 ? ref.height : rows); ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint32_t a = rgbAt(img, x, y), b = ref.at(x, y);
            for (int s = 0; s < 24; s += 8)
                worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
        }
    return worst;
}

// The pictures every variant starts from, made in `dir`.
void makeSources(const TempDir& dir) {
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(37, 23, 11)));
    const std::string src = dir.file("src.ppm");
    ASSERT_TRUE(run("ppmtopgm " + src + " > " + dir.file("grey.pgm")));
    for (int n : {2, 4, 16, 200})
        ASSERT_TRUE(run(std::string(kConvert) + " " + src + " -colors " + std::to_string(n) +
                        " -depth 8 " + dir.file("q" + std::to_string(n) + ".ppm")));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("grey.pgm") + " -threshold 50% -depth 8 " +
                    dir.file("mask.pgm")));
    ASSERT_TRUE(run("pamdepth 65535 " + src + " > " + dir.file("src16.ppm")));
    ASSERT_TRUE(run("pamdepth 65535 " + dir.file("grey.pgm") + " > " + dir.file("grey16.pgm")));
}

std::vector<uint8_t> chunk(const char* type, const std::vector<uint8_t>& body) {
    const uint32_t n = uint32_t(body.size());
    std::vector<uint8_t> c = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n),
                              uint8_t(type[0]), uint8_t(type[1]), uint8_t(type[2]), uint8_t(type[3])};
    c.insert(c.end(), body.begin(), body.end());
    const uint32_t crc = uint32_t(crc32(0, c.data() + 4, uInt(c.size() - 4)));
    c.push_back(uint8_t(crc >> 24));
    c.push_back(uint8_t(crc >> 16));
    c.push_back(uint8_t(crc >> 8));
    c.push_back(uint8_t(crc));
    return c;
}

std::vector<uint8_t> pngHeaderOnly(uint32_t w, uint32_t h) {
    std::vector<uint8_t> f = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const std::vector<uint8_t> ihdr = {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8), uint8_t(w),
                                       uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h),
                                       8, 2, 0, 0, 0};
    for (const auto& c : {chunk("IHDR", ihdr), chunk("IDAT", {}), chunk("IEND", {})})
        f.insert(f.end(), c.begin(), c.end());
    return f;
}

}  // namespace

struct PngVariant {
    const char* name;
    const char* encode;  // shell command run in the scratch folder, writes pic.png
    int bits;
    int tolerance;
};

class PngFromEncoders : public ::testing::TestWithParam<PngVariant> {
protected:
    // The sources are the same for every variant; ImageMagick is slow to start, so make them once.
    static void SetUpTestSuite() {
        sources_ = new TempDir;
        makeSources(*sources_);
    }
    static void TearDownTestSuite() {
        delete sources_;
        sources_ = nullptr;
    }
    static TempDir* sources_;
};
TempDir* PngFromEncoders::sources_ = nullptr;

// Each file is compared with netpbm's own reading of it, composed over white.
TEST_P(PngFromEncoders, DecodesLikeNetpbm) {
    const PngVariant& v = GetParam();
    TempDir dir;
    ASSERT_TRUE(run("cp " + sources_->path().string() + "/* " + dir.path().string()));
    const std::string cd = "cd " + dir.path().string() + " && ";
    ASSERT_TRUE(run(cd + v.encode + " > pic.png 2>/dev/null")) << v.encode;
    ASSERT_TRUE(run(cd + "pngtopam -mix -background=white pic.png | pamdepth 255 > ref.pnm"));
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, dir.file("pic.png"), kFormatPng)) << img.message;
    EXPECT_EQ(img.bitCount(), v.bits);
    EXPECT_LE(maxDiff(img, readNetpbm(dir.file("ref.pnm"))), v.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, PngFromEncoders,
    ::testing::Values(
        PngVariant{"Grey1", "pgmtopbm grey.pgm | pnmtopng -force", 1, 0},
        PngVariant{"Grey2", "pamdepth 3 grey.pgm | pnmtopng -force", 4, 0},
        PngVariant{"Grey4", "pamdepth 15 grey.pgm | pnmtopng -force", 4, 0},
        PngVariant{"Grey8", "pnmtopng -force grey.pgm", 8, 0},
        PngVariant{"Grey16", "pnmtopng -force grey16.pgm", 8, 0},
        PngVariant{"Grey8Trns", "pnmtopng -force -transparent =rgb:80/80/80 grey.pgm", 8, 0},
        PngVariant{"Grey2Trns", "pamdepth 3 grey.pgm | pnmtopng -force -transparent =rgb:55/55/55", 4, 0},
        PngVariant{"Grey16Trns", "pnmtopng -force -transparent =rgb:80/80/80 grey16.pgm", 24, 0},
        PngVariant{"GreyAlpha8", "pnmtopng -force -alpha=grey.pgm grey.pgm", 24, 1},
        PngVariant{"GreyAlpha16", "pnmtopng -force -alpha=grey16.pgm grey16.pgm", 24, 1},
        PngVariant{"Palette1", "pnmtopng q2.ppm", 1, 0},
        PngVariant{"Palette2", "pnmtopng q4.ppm", 4, 0},
        PngVariant{"Palette4", "pnmtopng q16.ppm", 4, 0},
        PngVariant{"Palette8", "pnmtopng q200.ppm", 8, 0},
        PngVariant{"PaletteTrns", "pnmtopng -alpha=mask.pgm q16.ppm", 8, 0},
        PngVariant{"Rgb8", "pnmtopng -force src.ppm", 24, 0},
        PngVariant{"Rgb16", "pnmtopng -force src16.ppm", 24, 0},
        PngVariant{"Rgb8Trns", "pnmtopng -force -transparent =rgb:e6/e6/e6 src.ppm", 24, 0},
        PngVariant{"Rgba8", "pnmtopng -force -alpha=grey.pgm src.ppm", 24, 1},
        PngVariant{"Rgba16", "pnmtopng -force -alpha=grey16.pgm src16.ppm", 24, 1},
        PngVariant{"InterlacedRgb16", "pnmtopng -force -interlace src16.ppm", 24, 0},
        PngVariant{"InterlacedPalette2", "pnmtopng -interlace q4.ppm", 4, 0},
        PngVariant{"InterlacedRgba", "pnmtopng -force -interlace -alpha=grey.pgm src.ppm", 24, 1},
        PngVariant{"InterlacedGrey1", "pgmtopbm grey.pgm | pnmtopng -force -interlace", 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PngCodec, TruncatedFileKeepsTheRowsItHasAndTheRestIsWhite) {
    TempDir dir;
    const Rgb src = patternPicture(64, 64, 5);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(run("pnmtopng -force -compression 0 " + dir.file("src.ppm") + " > " + dir.file("a.png")));
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
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        ImageError error;
    };
    const Case cases[] = {
        {"65536 x 65536", pngHeaderOnly(65536, 65536), ImageError::TooLarge},
        {"beyond the side limit", pngHeaderOnly(200000, 1), ImageError::Damaged},
        {"zero width", pngHeaderOnly(0, 5), ImageError::Damaged},
        {"no pixel data", pngHeaderOnly(10, 10), ImageError::Damaged},
        {"IHDR CRC", badCrc, ImageError::Damaged},
        {"cut in the header", cutHeader, ImageError::Damaged},
    };
    for (const Case& c : cases) {
        ImageBuffer img;
        ASSERT_TRUE(newdib(img, 2, 2, 24));
        const DecodeResult r = decodePicture(c.bytes.data(), c.bytes.size(), DecodeOptions{}, img);
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(img.bits, nullptr) << c.what;
        EXPECT_GT(img.message.size(), 5u) << c.what;
    }
}
