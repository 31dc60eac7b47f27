// Cut and corrupted files give a picture or a message, never a crash, and a failure leaves no
// picture behind.

#include "PhotoFormatsSupport.h"

using namespace pr;
using namespace photo;

namespace {

TEST(PhotoFormats, DamagedFilesNeverCrash) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), out = dir.file("pic");
    ASSERT_TRUE(writeSource(src, 24, 16, true));
    const struct {
        const Codec& codec;
        const char* encode;
    } cases[] = {
        {webpCodec(), "cwebp -q 70 {in} -o {out}"},
        {webpCodec(), "cwebp -lossless {in} -o {out}"},
        {heifCodec(), "heif-enc -q 50 {in} -o {out}"},
        {avifCodec(), "avifenc {in} {out}"},
        {jxlCodec(), "cjxl -d 1 {in} {out}"},
        {jxlCodec(), "cjxl -d 0 {in} {out}"},
    };
    for (const auto& c : cases) {
        std::string command = c.encode;
        command.replace(command.find("{in}"), 4, src);
        command.replace(command.find("{out}"), 5, out);
        ASSERT_TRUE(testsupport::run(quiet(command))) << command;
        const std::vector<uint8_t> good = testsupport::readAll(out);
        ImageBuffer img;
        ASSERT_TRUE(codectest::decodeBytes(c.codec, good, img).ok()) << command;
        SCOPED_TRACE(command);
        codectest::feedDamagedVariants(c.codec, good);
    }
}

TEST(PhotoFormats, RefusedWithAMessage) {
    // A WebP header of a 16383 x 16383 canvas with nothing behind it, a JPEG XL codestream that
    // stops after its signature, HEIF and AVIF boxes with nothing in them.
    std::vector<uint8_t> webp = {'R', 'I', 'F', 'F', 30,   0,    0,  0,    'W',  'E',
                                 'B', 'P', 'V', 'P', '8',  'X',  10, 0,    0,    0,
                                 0,   0,   0,   0,   0xFE, 0x3F, 0,  0xFE, 0x3F, 0};
    codectest::expectRefused({
        {"WebP canvas without a picture", webp, ImageError::Damaged},
        {"JPEG XL signature only", {0xFF, 0x0A}, ImageError::Damaged},
        {"HEIF ftyp only",
         {0, 0, 0, 20, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1'},
         ImageError::Damaged},
        {"AVIF ftyp only",
         {0, 0, 0, 20, 'f', 't', 'y', 'p', 'a', 'v', 'i', 'f', 0, 0, 0, 0, 'm', 'i', 'f', '1'},
         ImageError::Damaged},
    });
}

// Found by fuzzing: libheif hands out the nclx values even when it refuses them (here a matrix
// number beyond the table), and they were not released. The picture decodes as untagged.
TEST(PhotoFormats, HeifWithRefusedNclxValuesDecodesUntagged) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), avif = dir.file("p3.avif"),
                      heif = dir.file("bad-nclx.heif");
    ASSERT_TRUE(writeSource(src, 24, 16, false));
    ASSERT_TRUE(testsupport::run(quiet("avifenc -l --cicp 12/13/6 " + src + " " + avif)));
    ASSERT_TRUE(rebrandAsHeif(avif, heif));
    std::vector<uint8_t> bytes = testsupport::readAll(heif);
    const uint8_t colr[] = {'c', 'o', 'l', 'r', 'n', 'c', 'l', 'x'};
    const auto at = std::search(bytes.begin(), bytes.end(), colr, colr + 8);
    ASSERT_NE(at, bytes.end());
    // Primaries, transfer, matrix: 16 bits each after the box type.
    at[12] = 0x01, at[13] = 0x06;
    ASSERT_TRUE(testsupport::writeAll(heif, bytes));
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, heif, kFormatHeif)) << img.message;
    EXPECT_EQ(img.width(), 24);
}

}  // namespace
