// The content, not the name, picks the reader; and the thumbnail decodes are smaller where the
// library allows it, yet still cover the wanted box.

#include "PhotoFormatsSupport.h"
#include "core/imaging/codecs/CodecRegistry.h"
#include "core/imaging/codecs/IsoBrands.h"
#include "core/imaging/codecs/ReducedSize.h"

using namespace pr;
using namespace photo;

namespace {

std::vector<uint8_t> ftyp(const std::string& major, const std::vector<std::string>& compatible,
                          int declaredExtra = 0) {
    const uint32_t size = static_cast<uint32_t>(16 + 4 * compatible.size() + declaredExtra);
    std::vector<uint8_t> box = {uint8_t(size >> 24),
                                uint8_t(size >> 16),
                                uint8_t(size >> 8),
                                uint8_t(size),
                                'f',
                                't',
                                'y',
                                'p'};
    box.insert(box.end(), major.begin(), major.end());
    box.insert(box.end(), {0, 0, 0, 0});
    for (const std::string& b : compatible) box.insert(box.end(), b.begin(), b.end());
    box.resize(box.size() + 16, 0);  // what follows the box
    return box;
}

TEST(IsoBrands, TheBrandsDecideTheReader) {
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        IsoPictureKind kind;
    } cases[] = {
        {"iPhone HEIC", ftyp("heic", {"mif1", "heic"}), IsoPictureKind::Heif},
        {"HEIF sequence", ftyp("msf1", {"hevc"}), IsoPictureKind::Heif},
        {"AVIF", ftyp("avif", {"avif", "mif1", "miaf"}), IsoPictureKind::Avif},
        {"AVIF sequence", ftyp("avis", {"msf1"}), IsoPictureKind::Avif},
        {"HEVC wins over AVIF", ftyp("avif", {"heic"}), IsoPictureKind::Heif},
        {"plain HEIF", ftyp("mif1", {"miaf"}), IsoPictureKind::Heif},
        {"MP4 video", ftyp("isom", {"iso2", "avc1", "mp41"}), IsoPictureKind::None},
        {"camera raw", ftyp("crx ", {"crx "}), IsoPictureKind::None},
        {"box size not whole brands", ftyp("heic", {"mif1"}, 2), IsoPictureKind::None},
        {"brand beyond the box", ftyp("isom", {}, 0), IsoPictureKind::None},
        {"short", {0, 0, 0, 24, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'}, IsoPictureKind::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isoPictureKind(c.bytes.data(), c.bytes.size()), c.kind) << c.what;
}

TEST(ReducedSize, CoversTheBoxWithThePicturesShape) {
    const int cases[][7] = {
        // picture w, h, wanted w, h, swaps axes -> decoded w, h
        {640, 480, 80, 80, 0, 107, 80},   {480, 640, 80, 80, 0, 80, 107},
        {640, 480, 0, 0, 0, 640, 480},    {60, 40, 80, 80, 0, 60, 40},
        {6000, 100, 80, 80, 0, 4800, 80}, {640, 320, 80, 60, 1, 160, 80},
        {640, 320, 80, 60, 0, 120, 60},
    };
    for (const auto& c : cases) {
        DecodeOptions o;
        o.maxWidth = c[2];
        o.maxHeight = c[3];
        const PixelSize s = reducedSizeCovering(c[0], c[1], o, c[4] != 0);
        EXPECT_EQ(s.width * 10000 + s.height, c[5] * 10000 + c[6]) << c[0] << "x" << c[1];
    }
}

TEST(PhotoFormats, ContentDecidesNotTheName) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png");
    ASSERT_TRUE(writeSource(src, 40, 30, false));
    const std::pair<const char*, const char*> encoders[] = {
        {"webp", "cwebp -quiet -lossless {in} -o {out}"},
        {"heif", "heif-enc {in} -o {out}"},
        {"avif", "avifenc -l {in} {out}"},
        {"jxl", "cjxl -d 0 {in} {out}"},
    };
    for (const auto& [name, encode] : encoders) {
        // Named as another format, and with no extension at all.
        for (const char* file : {"bild.jpg", "bild"}) {
            std::string command = encode;
            command.replace(command.find("{in}"), 4, src);
            command.replace(command.find("{out}"), 5, dir.file(file));
            ASSERT_TRUE(testsupport::run(quiet(command))) << command;
            const std::vector<uint8_t> bytes = testsupport::readAll(dir.file(file));
            const Codec* codec = findCodec(bytes.data(), bytes.size());
            ASSERT_NE(codec, nullptr) << name;
            EXPECT_STREQ(codec->name, name);
            ImageBuffer img;
            ASSERT_TRUE(OpenDib(img, dir.file(file), kFormatJpg)) << name << ": " << img.message;
            EXPECT_EQ(img.width() * 100 + img.height(), 4030) << name;
        }
    }
}

TEST(PhotoFormats, ThumbnailDecodesAreSmallerButCoverTheBox) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png");
    ASSERT_TRUE(writeSource(src, 640, 480, false));
    const struct {
        const char* what;
        const char* encode;
        int width, height;  // of the reduced decode
    } cases[] = {
        {"WebP scales", "cwebp -quiet -q 80 {in} -o {out}", 107, 80},
        {"HEIF thumbnail large enough", "heif-enc -t 160 {in} -o {out}", 160, 120},
        {"HEIF thumbnail too small", "heif-enc -t 64 {in} -o {out}", 640, 480},
        {"HEIF without thumbnail", "heif-enc {in} -o {out}", 640, 480},
    };
    for (const auto& c : cases) {
        std::string command = c.encode;
        const std::string out = dir.file("pic");
        command.replace(command.find("{in}"), 4, src);
        command.replace(command.find("{out}"), 5, out);
        ASSERT_TRUE(testsupport::run(quiet(command))) << c.what;
        ImageBuffer img;
        const DecodeResult r = OpenDibReduced(img, out, 80, 80);
        ASSERT_TRUE(r.ok()) << c.what << ": " << img.message;
        EXPECT_EQ(img.width() * 1000 + img.height(), c.width * 1000 + c.height) << c.what;
        EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, 640480) << c.what;
        // The full decode is never the thumbnail.
        ASSERT_TRUE(OpenDib(img, out, kFormatAuto)) << c.what;
        EXPECT_EQ(img.width(), 640) << c.what;
    }
}

TEST(PhotoFormats, TurnedWebpThumbnailCoversTheTurnedBox) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), jpg = dir.file("src.jpg"),
                      out = dir.file("t.webp");
    ASSERT_TRUE(writeSource(src, 640, 320, false));
    ASSERT_TRUE(testsupport::run(quiet("cjpeg -outfile " + jpg + " " + src + ".ppm")));
    ASSERT_TRUE(testsupport::run(quiet("exiftool -overwrite_original -n -Orientation=6 " + jpg)));
    ASSERT_TRUE(testsupport::run(quiet("cwebp -metadata exif " + jpg + " -o " + out)));
    ImageBuffer img;
    const DecodeResult r = OpenDibReduced(img, out, 80, 60);
    ASSERT_TRUE(r.ok()) << img.message;
    // Stored 640 x 320, shown 320 x 640: the shown picture must be at least 80 x 60.
    EXPECT_EQ(img.width() * 1000 + img.height(), 80160);
    EXPECT_EQ(r.trueWidth * 1000 + r.trueHeight, 320640);
}

}  // namespace
