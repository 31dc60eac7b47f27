#include <cstring>

#include "CodecTestSupport.h"

using namespace pr;
using namespace testsupport;
using codectest::maxDiff;

namespace {

// Writes a pattern picture of w x h as JPEG with the given cjpeg options; returns the path.
std::string makeJpeg(const TempDir& dir, int w, int h, const std::string& options) {
    EXPECT_TRUE(writePpm(dir.file("src.ppm"), patternPicture(w, h, 3)));
    EXPECT_TRUE(
        run("cjpeg " + options + " -outfile " + dir.file("pic.jpg") + " " + dir.file("src.ppm")));
    return dir.file("pic.jpg");
}

// libjpeg-turbo's own reading, the reference for exact comparisons.
Rgb djpeg(const TempDir& dir, const std::string& jpeg, const std::string& options = "") {
    EXPECT_TRUE(run("djpeg " + options + " -outfile " + dir.file("djpeg.pnm") + " " + jpeg));
    return readNetpbm(dir.file("djpeg.pnm"));
}

// The frame header (SOF0) holds height and width after its length and precision.
std::vector<uint8_t> withSize(std::vector<uint8_t> f, int w, int h) {
    for (size_t i = 2; i + 9 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == 0xC0) {
            f[i + 5] = uint8_t(h >> 8), f[i + 6] = uint8_t(h), f[i + 7] = uint8_t(w >> 8),
                  f[i + 8] = uint8_t(w);
            break;
        }
    return f;
}

bool haveExiftool() {
    return run("test -x /usr/bin/exiftool");
}

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

TEST(JpegCodec, HighQualityAndAdobeCmykAreCloseToTheSource) {
    TempDir dir;
    const Rgb src = patternPicture(40, 30, 3);
    ASSERT_TRUE(writePpm(dir.file("src.ppm"), src));
    ASSERT_TRUE(run("cjpeg -quality 100 -sample 1x1 -outfile " + dir.file("hq.jpg") + " " +
                    dir.file("src.ppm")));
    ASSERT_TRUE(run(std::string(kConvert) + " " + dir.file("src.ppm") +
                    " -colorspace CMYK -quality 95 " + dir.file("cmyk.jpg")));
    for (auto [file, tolerance] : {std::pair{"hq.jpg", 3.0}, {"cmyk.jpg", 6.0}}) {
        ImageBuffer img;
        ASSERT_TRUE(OpenDib(img, dir.file(file), kFormatJpg)) << img.message;
        ASSERT_EQ(img.bitCount(), 24);
        double sum = 0;
        for (int i = 0; i < 40 * 30; ++i)
            for (int s = 0; s < 24; s += 8)
                sum += std::abs(int((getpixel(img, i % 40, i / 40) >> s) & 255) -
                                int((src.at(i % 40, i / 40) >> s) & 255));
        EXPECT_LT(sum / (3 * 40 * 30), tolerance) << file;
    }
}

// Orientations written by exiftool; ImageMagick's -auto-orient is the reference.
class JpegOrientation : public ::testing::TestWithParam<int> {};

TEST_P(JpegOrientation, ComesOutUpright) {
    if (!haveExiftool()) GTEST_SKIP() << "exiftool missing";
    const int o = GetParam();
    TempDir dir;
    for (const char* colour : {"", "-grayscale"}) {
        const std::string file = makeJpeg(dir, 40, 24, colour),
                          ref = dir.file(*colour ? "ref.pgm" : "ref.ppm");
        ASSERT_TRUE(run("/usr/bin/exiftool -q -overwrite_original -Orientation#=" +
                        std::to_string(o) + " " + file));
        ASSERT_TRUE(run(std::string(kConvert) + " " + file + " -auto-orient -depth 8 " + ref));
        ImageBuffer img;
        ASSERT_TRUE(OpenDib(img, file, kFormatJpg)) << img.message;
        EXPECT_EQ(img.width(), o >= 5 ? 24 : 40);
        EXPECT_LE(maxDiff(img, readNetpbm(ref)), 1) << colour;
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
                          Case{80, 80, 200, 150}, Case{200, 150, 200, 150}, Case{201, 10, 400, 300},
                          Case{500, 500, 800, 600}, Case{0, 0, 800, 600}}) {
        ImageBuffer img;
        const DecodeResult r = OpenDibReduced(img, file, c.maxW, c.maxH);
        ASSERT_TRUE(r.ok()) << img.message;
        EXPECT_EQ(img.width(), c.w) << c.maxW;
        EXPECT_EQ(img.height(), c.h) << c.maxW;
        EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, 800600);
        EXPECT_EQ(r.trueBitCount, 24);
    }
    ImageBuffer eighth;
    ASSERT_TRUE(OpenDibReduced(eighth, file, 80, 60).ok());
    EXPECT_EQ(maxDiff(eighth, djpeg(dir, file, "-scale 1/8")), 0);
    // The size that counts is that of the upright picture: stored wide, shown tall.
    if (!haveExiftool()) return;
    const std::string turned = makeJpeg(dir, 800, 200, "");
    ASSERT_TRUE(run("/usr/bin/exiftool -q -overwrite_original -Orientation#=6 " + turned));
    ImageBuffer img;
    const DecodeResult r = OpenDibReduced(img, turned, 100, 25);
    ASSERT_TRUE(r.ok()) << img.message;
    EXPECT_EQ(img.width() * 1000 + img.height(), 100400);
    EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, 200800);
}

TEST(JpegCodec, TruncatedFileKeepsTheTopAndTheRestIsWhite) {
    TempDir dir;
    const std::string file = makeJpeg(dir, 64, 256, "-quality 90");
    auto bytes = readAll(file);
    bytes.resize(bytes.size() / 2);
    ImageBuffer img;
    ASSERT_TRUE(decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, img).ok())
        << img.message;
    EXPECT_EQ(maxDiff(img, djpeg(dir, file), 32), 0);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(getpixel(img, x, 255), 0xFFFFFFu);
}

TEST(JpegCodec, BrokenFilesGiveAMessageAndNoPicture) {
    TempDir dir;
    const auto good = readAll(makeJpeg(dir, 32, 32, "-quality 80"));
    size_t sos = 2;
    while (sos + 1 < good.size() && !(good[sos] == 0xFF && good[sos + 1] == 0xDA)) ++sos;
    ASSERT_LT(sos + 1, good.size());
    codectest::expectRefused({
        {"60000 x 60000", withSize(good, 60000, 60000), ImageError::TooLarge},
        {"65535 x 65535", withSize(good, 65535, 65535), ImageError::TooLarge},
        {"zero height", withSize(good, 32, 0), ImageError::Damaged},
        {"header without a scan", std::vector<uint8_t>(good.begin(), good.begin() + long(sos)),
         ImageError::Damaged},
        {"only the magic", {0xFF, 0xD8, 0xFF}, ImageError::Damaged},
    });
}

TEST(JpegCodec, ShortFileAnnouncingAHugePictureIsRefusedWithoutDecodingIt) {
    // A 32 x 32 file whose frame header claims 12000 x 24000: the data ends in the first rows.
    TempDir dir;
    codectest::expectRefused(
        {{"12000 x 24000", withSize(readAll(makeJpeg(dir, 32, 32, "-quality 80")), 12000, 24000),
          ImageError::Damaged}});
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
        EXPECT_TRUE(r.ok() || img.message.size() > 5u);
    }
}

}  // namespace
