// Pictures come out upright: the EXIF orientation of a WebP file, the codestream orientation that
// JPEG XL encoders take from EXIF, and the HEIF turn and mirror (irot, imir) of AVIF files, read
// by the AVIF reader and, with the brands changed to plain HEIF, by the HEIF reader.

#include "PhotoFormatsSupport.h"

using namespace pr;
using namespace photo;

namespace {

struct OrientationCase {
    const char* format;  // webp, jxl, avif or heif
    int exif;            // 1..8 for webp and jxl
    int angle, mirror;   // irot quarter turns anticlockwise, imir mode (-1: none)
};

void PrintTo(const OrientationCase& c, std::ostream* os) {
    *os << c.format << " " << c.exif << " " << c.angle << " " << c.mirror;
}

class ComesOutUpright : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(ComesOutUpright, AsTheReferenceShowsIt) {
    const OrientationCase& c = GetParam();
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), jpg = dir.file("src.jpg"),
                      ref = dir.file("ref.png"), out = dir.file(std::string("pic.") + c.format);
    ASSERT_TRUE(writeSource(src, 97, 61, false));
    Rgb expected;
    const std::string format = c.format;
    if (format == "webp" || format == "jxl") {
        ASSERT_TRUE(
            testsupport::run(quiet("cjpeg -quality 95 -outfile " + jpg + " " + src + ".ppm")));
        ASSERT_TRUE(testsupport::run(quiet(
            "exiftool -overwrite_original -n -Orientation=" + std::to_string(c.exif) + " " + jpg)));
        if (format == "webp") {
            // dwebp leaves the orientation to the viewer: the reference is turned here.
            ASSERT_TRUE(
                testsupport::run(quiet("cwebp -lossless -metadata exif " + jpg + " -o " + out)));
            ASSERT_TRUE(testsupport::run(quiet("dwebp " + out + " -o " + ref)));
            expected = oriented(overWhite(readReference(ref)), c.exif);
        } else {
            ASSERT_TRUE(testsupport::run(quiet("cjxl " + jpg + " " + out)));
            ASSERT_TRUE(testsupport::run(quiet("djxl " + out + " " + ref)));
            expected = overWhite(readReference(ref));
        }
    } else {
        std::string options = " --irot " + std::to_string(c.angle);
        if (c.mirror >= 0) options += " --imir " + std::to_string(c.mirror);
        const std::string avif = dir.file("pic.avif");
        ASSERT_TRUE(testsupport::run(quiet("avifenc -l" + options + " " + src + " " + avif)));
        if (format == "heif") {
            ASSERT_TRUE(rebrandAsHeif(avif, out));
        }
        // libheif carries out the transformations when it writes the PNG.
        ASSERT_TRUE(testsupport::run(quiet("heif-convert " + out + " " + ref)));
        expected = overWhite(readReference(ref));
    }
    ASSERT_GT(expected.width, 0);
    const bool turned = (c.exif >= 5) || (c.angle & 1);
    EXPECT_EQ(expected.width, turned ? 61 : 97);

    ImageBuffer img;
    const DecodeResult r = OpenDibReduced(img, out, 0, 0);
    ASSERT_TRUE(r.ok()) << img.message;
    EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, turned ? 61097 : 97061);
    EXPECT_EQ(codectest::maxDiff(img, expected), 0);
}

std::vector<OrientationCase> cases() {
    std::vector<OrientationCase> all;
    for (const char* format : {"webp", "jxl"})
        for (int exif = 1; exif <= 8; ++exif) all.push_back({format, exif, 0, -1});
    for (const char* format : {"avif", "heif"})
        for (int angle = 0; angle < 4; ++angle)
            for (int mirror = -1; mirror <= 1; ++mirror) all.push_back({format, 1, angle, mirror});
    return all;
}

INSTANTIATE_TEST_SUITE_P(Formats, ComesOutUpright, ::testing::ValuesIn(cases()));

}  // namespace
