// Each new reader against its format's own reference decoder, on files written at test time by
// the format's own encoder: the same pixels (within a level or two where the reference rounds
// differently), alpha laid over white.

#include "PhotoFormatsSupport.h"

using namespace pr;
using namespace photo;

namespace {

struct ReferenceCase {
    const char* name;
    bool alpha;
    const char* encode;     // {in} source PNG, {out} the encoded file
    const char* extension;  // of the encoded file
    const char* reference;  // {out} the encoded file, {ref} a PNG written by the reference
    int tolerance;
};

std::string fill(std::string text, const std::string& in, const std::string& out,
                 const std::string& ref) {
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"{in}", in}, {"{out}", out}, {"{ref}", ref}})
        for (size_t at; (at = text.find(key)) != std::string::npos;)
            text.replace(at, key.size(), value);
    return text;
}

void PrintTo(const ReferenceCase& c, std::ostream* os) {
    *os << c.name;
}

class MatchesReferenceDecoder : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(MatchesReferenceDecoder, PixelForPixel) {
    const ReferenceCase& c = GetParam();
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), out = dir.file(std::string("pic.") + c.extension),
                      ref = dir.file("ref.png");
    // Odd sides: chroma subsampling and the last partial blocks must come out right.
    ASSERT_TRUE(writeSource(src, 97, 61, c.alpha));
    ASSERT_TRUE(testsupport::run(quiet(fill(c.encode, src, out, ref)))) << c.encode;
    ASSERT_TRUE(testsupport::run(quiet(fill(c.reference, src, out, ref)))) << c.reference;
    const Rgba reference = readReference(ref);
    ASSERT_EQ(reference.width, 97);
    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, out, kFormatAuto)) << img.message;
    EXPECT_EQ(img.bitCount(), 24);
    EXPECT_LE(codectest::maxDiff(img, overWhite(reference)), c.tolerance);
    if (c.alpha) {
        // The top rows are nearly opaque, the bottom rows nearly transparent: nearly white.
        EXPECT_GE(codectest::rgbAt(img, 40, 60) & 0xFF, 240u);
    }
}

const ReferenceCase kCases[] = {
    {"webp_lossy", false, "cwebp -q 80 {in} -o {out}", "webp", "dwebp {out} -o {ref}", 0},
    {"webp_lossless", false, "cwebp -lossless {in} -o {out}", "webp", "dwebp {out} -o {ref}", 0},
    {"webp_lossy_alpha", true, "cwebp -q 80 {in} -o {out}", "webp", "dwebp {out} -o {ref}", 0},
    {"webp_lossless_alpha", true, "cwebp -lossless {in} -o {out}", "webp", "dwebp {out} -o {ref}",
     0},
    {"heic", false, "heif-enc -q 80 {in} -o {out}", "heic", "heif-convert {out} {ref}", 0},
    {"heic_alpha", true, "heif-enc -q 80 {in} -o {out}", "heic", "heif-convert {out} {ref}", 0},
    {"avif", false, "avifenc {in} {out}", "avif", "avifdec -d 8 {out} {ref}", 0},
    {"avif_alpha", true, "avifenc {in} {out}", "avif", "avifdec -d 8 {out} {ref}", 0},
    {"avif_10bit_420", false, "avifenc -d 10 -y 420 {in} {out}", "avif", "avifdec -d 8 {out} {ref}",
     0},
    {"jxl_lossless", false, "cjxl -d 0 {in} {out}", "jxl", "djxl {out} {ref}", 0},
    {"jxl_lossy", false, "cjxl -d 1 {in} {out}", "jxl", "djxl {out} {ref}", 1},
    {"jxl_lossless_alpha", true, "cjxl -d 0 {in} {out}", "jxl", "djxl {out} {ref}", 0},
    {"jxl_grey", false,
     "convert {in} -colorspace gray -define png:exclude-chunk=all {in}.g.png && cjxl -d 0 "
     "{in}.g.png {out}",
     "jxl", "djxl {out} {ref}", 0},
};

INSTANTIATE_TEST_SUITE_P(Formats, MatchesReferenceDecoder, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
