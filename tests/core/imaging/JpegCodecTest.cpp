#include <gtest/gtest.h>

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

double meanDiff(const ImageBuffer& img, const Rgb& ref) {
    double sum = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint32_t a = rgbAt(img, x, y), b = ref.at(x, y);
            for (int s = 0; s < 24; s += 8) sum += std::abs(int((a >> s) & 255) - int((b >> s) & 255));
        }
    return sum / (3.0 * ref.width * ref.height);
}

// Writes a pattern picture of w x h as JPEG with the given cjpeg options; returns the path.
std::string makeJpeg(const TempDir& dir, int w, int h, const std::string& options,
                     const std::string& name = "pic.jpg") {
    const std::string src = dir.file(name + ".ppm");
    EXPECT_TRUE(writePpm(src, patternPicture(w, h, 3)));
    EXPECT_TRUE(run("cjpeg " + options + " -outfile " + dir.file(name) + " " + src));
    return dir.file(name);
}

// libjpeg-turbo's own reading, the reference for exact comparisons.
Rgb djpeg(const TempDir& dir, const std::string& jpeg, const std::string& options = "") {
    const std::string out = dir.file("djpeg.pnm");
    EXPECT_TRUE(run("djpeg " + options + " -outfile " + out + " " + jpeg));
    return readNetpbm(out);
}

}  // namespace

class JpegFromCjpeg : public ::testing::TestWithParam<const char*> {};

TEST_P(JpegFromCjpeg, MatchesDjpegExactly) {
    TempDir dir;
    const std::string file = makeJpeg(dir, 45, 29, GetParam());
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, file, kFormatJpg)) << img.message;
    EXPECT_EQ(img.bitCount(), std::strstr(GetParam(), "grayscale") ? 8 : 24);
    EXPECT_EQ(maxDiff(img, djpeg(dir, file)), 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, JpegFromCjpeg,
                         ::testing::Values("-quality 90", "-sample 1x1", "-sample 2x1",
                                           "-progressive", "-arithmetic", "-restart 1",
                                           "-grayscale", "-grayscale -progressive"));

TEST(JpegCodec, HighQualityDecodeIsCloseToTheSource) {
    TempDir dir;
    const std::string file = makeJpeg(dir, 64, 48, "-quality 100 -sample 1x1");
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, file, kFormatJpg)) << img.message;
    EXPECT_LT(meanDiff(img, patternPicture(64, 48, 3)), 3.0);
}

TEST(JpegCodec, AdobeCmykComesOutAsRgb) {
    TempDir dir;
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(40, 30, 9)));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("src.ppm") +
                    " -colorspace CMYK -quality 95 " + dir.file("cmyk.jpg")));
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, dir.file("cmyk.jpg"), kFormatJpg)) << img.message;
    EXPECT_EQ(img.bitCount(), 24);
    EXPECT_LT(meanDiff(img, patternPicture(40, 30, 9)), 6.0);
}

// Orientations written by exiftool; ImageMagick's -auto-orient is the reference.
class JpegOrientation : public ::testing::TestWithParam<int> {};

TEST_P(JpegOrientation, ComesOutUpright) {
    if (!run("test -x /usr/bin/exiftool")) GTEST_SKIP() << "exiftool missing";
    const int o = GetParam();
    TempDir dir;
    for (const char* colour : {"", "-grayscale"}) {
        const std::string file = makeJpeg(dir, 40, 24, colour);
        ASSERT_TRUE(run("/usr/bin/exiftool -q -overwrite_original -Orientation#=" + std::to_string(o) +
                        " " + file));
        ASSERT_TRUE(run(std::string(kConvert) + " " + file + " -auto-orient -depth 8 " +
                        dir.file(*colour ? "ref.pgm" : "ref.ppm")));
        ImageBuffer img;
        ASSERT_TRUE(OpenDib(img, file, kFormatJpg)) << img.message;
        EXPECT_EQ(img.width(), o >= 5 ? 24 : 40);
        EXPECT_LE(maxDiff(img, readNetpbm(dir.file(*colour ? "ref.pgm" : "ref.ppm"))), 1) << colour;
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, JpegOrientation, ::testing::Range(1, 9));

TEST(JpegCodec, ReducedDecodeTakesTheSmallestScaleThatStillCovers) {
    TempDir dir;
    const std::string file = makeJpeg(dir, 800, 600, "");
    struct Case {
        int maxW, maxH, w, h;
    };
    for (const Case& c : {Case{80, 60, 100, 75}, Case{100, 75, 100, 75}, Case{101, 75, 200, 150},
                          Case{80, 80, 200, 150},
                          Case{200, 150, 200, 150}, Case{201, 10, 400, 300}, Case{500, 500, 800, 600},
                          Case{0, 0, 800, 600}}) {
        ImageBuffer img;
        const DecodeResult r = OpenDibReduced(img, file, c.maxW, c.maxH);
        ASSERT_TRUE(r.ok()) << img.message;
        EXPECT_EQ(img.width(), c.w) << c.maxW;
        EXPECT_EQ(img.height(), c.h) << c.maxW;
        EXPECT_EQ(r.trueWidth, 800);
        EXPECT_EQ(r.trueHeight, 600);
        EXPECT_EQ(r.trueBitCount, 24);
    }
    ImageBuffer eighth;
    ASSERT_TRUE(OpenDibReduced(eighth, file, 80, 60).ok());
    EXPECT_EQ(maxDiff(eighth, djpeg(dir, file, "-scale 1/8")), 0);
}

TEST(JpegCodec, ReducedDecodeCountsTheSizeOfTheUprightPicture) {
    if (!run("test -x /usr/bin/exiftool")) GTEST_SKIP() << "exiftool missing";
    TempDir dir;
    const std::string file = makeJpeg(dir, 800, 200, "");  // stored wide, shown tall
    ASSERT_TRUE(run("/usr/bin/exiftool -q -overwrite_original -Orientation#=6 " + file));
    ImageBuffer img;
    const DecodeResult r = OpenDibReduced(img, file, 100, 25);
    ASSERT_TRUE(r.ok()) << img.message;
    EXPECT_EQ(img.width(), 100);
    EXPECT_EQ(img.height(), 400);
    EXPECT_EQ(r.trueWidth, 200);
    EXPECT_EQ(r.trueHeight, 800);
}

TEST(JpegCodec, TruncatedFileKeepsTheTopAndTheRestIsWhite) {
    TempDir dir;
    const std::string file = makeJpeg(dir, 64, 256, "-quality 90");
    const Rgb full = djpeg(dir, file);
    auto bytes = readAll(file);
    bytes.resize(bytes.size() / 2);
    ImageBuffer img;
    ASSERT_TRUE(decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img).ok()) << img.message;
    EXPECT_EQ(maxDiff(img, full, 32), 0);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(getpixel(img, x, 255), 0xFFFFFFu);
}

TEST(JpegCodec, BrokenFilesGiveAMessageAndNoPicture) {
    TempDir dir;
    const auto good = readAll(makeJpeg(dir, 32, 32, "-quality 80"));
    // The frame header (SOF0) holds height and width after its length and precision.
    auto withSize = [&](int w, int h) {
        auto f = good;
        for (size_t i = 2; i + 9 < f.size(); ++i)
            if (f[i] == 0xFF && f[i + 1] == 0xC0) {
                f[i + 5] = uint8_t(h >> 8), f[i + 6] = uint8_t(h);
                f[i + 7] = uint8_t(w >> 8), f[i + 8] = uint8_t(w);
                break;
            }
        return f;
    };
    size_t sos = 0;
    for (size_t i = 2; i + 1 < good.size(); ++i)
        if (good[i] == 0xFF && good[i + 1] == 0xDA) {
            sos = i;
            break;
        }
    ASSERT_GT(sos, 0u);
    const std::vector<uint8_t> beforeScan(good.begin(), good.begin() + sos);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        ImageError error;
    };
    const Case cases[] = {
        {"60000 x 60000", withSize(60000, 60000), ImageError::TooLarge},
        {"65535 x 65535", withSize(65535, 65535), ImageError::TooLarge},
        {"zero height", withSize(32, 0), ImageError::Damaged},
        {"header without a scan", beforeScan, ImageError::Damaged},
        {"only the magic", {0xFF, 0xD8, 0xFF}, ImageError::Damaged},
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

TEST(JpegCodec, ShortFileAnnouncingAHugePictureIsRefusedWithoutDecodingIt) {
    // A 32 x 32 file whose frame header claims 12000 x 24000: the data ends in the first rows.
    TempDir dir;
    auto bytes = readAll(makeJpeg(dir, 32, 32, "-quality 80"));
    for (size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = uint8_t(24000 >> 8), bytes[i + 6] = uint8_t(24000 & 0xFF);
            bytes[i + 7] = uint8_t(12000 >> 8), bytes[i + 8] = uint8_t(12000 & 0xFF);
            break;
        }
    ImageBuffer img;
    const DecodeResult r = decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img);
    EXPECT_EQ(r.error, ImageError::Damaged);
    EXPECT_EQ(img.bits, nullptr);
    EXPECT_GT(img.message.size(), 5u);
}

TEST(JpegCodec, GarbageAfterTheHeaderNeverCrashes) {
    TempDir dir;
    const auto good = readAll(makeJpeg(dir, 48, 48, "-progressive"));
    std::mt19937 rng(4);
    for (int round = 0; round < 200; ++round) {
        auto f = good;
        for (int k = 0; k < 8; ++k) f[200 + rng() % (f.size() - 200)] = uint8_t(rng());
        ImageBuffer img;
        const DecodeResult r = decodePicture(f.data(), f.size(), DecodeOptions{}, img);
        EXPECT_EQ(r.ok(), img.valid());
        if (!r.ok()) {
            EXPECT_GT(img.message.size(), 5u);
        }
    }
}
