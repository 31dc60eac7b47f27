// Pictures that carry a colour space other than sRGB (an Adobe RGB (1998) or a grey profile, or
// Display P3 primaries in nclx/CICP) decode to what LittleCMS makes of the reference decoder's
// pixels, and differ from those pixels taken as they are; sRGB profiles change nothing.

#include <lcms2.h>
#include <zlib.h>

#include <cstring>

#include "PhotoFormatsSupport.h"

using namespace pr;
using namespace photo;

namespace {

const std::string kIcc = "/usr/share/color/icc/";
const std::string kAdobe = kIcc + "compatibleWithAdobeRGB1998.icc";
const std::string kGrey = kIcc + "Gray.icc";

cmsHPROFILE displayP3() {
    cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE p3 = {{0.68, 0.32, 1}, {0.265, 0.69, 1}, {0.15, 0.06, 1}};
    const cmsFloat64Number p[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, p);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &p3, curves);
    cmsFreeToneCurve(curve);
    return profile;
}

// LittleCMS's own conversion of the reference pixels, perceptual with black point compensation;
// a grey profile converts the red channel of the (grey) reference.
Rgb toSrgb(const Rgb& src, cmsHPROFILE from, bool grey) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM t =
        cmsCreateTransform(from, grey ? (TYPE_GRAY_8 | EXTRA_SH(2)) : TYPE_RGB_8, srgb, TYPE_RGB_8,
                           INTENT_PERCEPTUAL, cmsFLAGS_BLACKPOINTCOMPENSATION);
    Rgb out = src;
    if (t)
        cmsDoTransform(t, src.pixels.data(), out.pixels.data(),
                       static_cast<cmsUInt32Number>(src.width * src.height));
    else
        out = Rgb{};
    if (t) cmsDeleteTransform(t);
    cmsCloseProfile(srgb);
    cmsCloseProfile(from);
    return out;
}

enum class Space { AdobeRgb, DisplayP3, Grey };

struct ProfiledCase {
    const char* name;
    Space space;         // Adobe RGB and grey from a profile, Display P3 from code points
    const char* encode;  // {in} source PNG (tagged with the profile), {out} the encoded file
    const char* reference;
    bool asHeif = false;  // the AVIF file rebranded, for the HEIF reader
};

void PrintTo(const ProfiledCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfiledPicture : public ::testing::TestWithParam<ProfiledCase> {};

TEST_P(ProfiledPicture, ConvertedAsLittleCmsConvertsIt) {
    const ProfiledCase& c = GetParam();
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), tagged = dir.file("tagged.png"),
                      grey = dir.file("grey.png"), out = dir.file("pic"), ref = dir.file("ref.png");
    // Large enough that the lossless WebP arrives in several slices.
    ASSERT_TRUE(writeSource(src, 512, 384, false));
    // ImageMagick converts the sRGB picture into Adobe RGB and embeds the profile.
    ASSERT_TRUE(
        testsupport::run(quiet(std::string(testsupport::kConvert) + " " + src +
                               " -profile /usr/share/color/icc/sRGB.icc -profile " + kAdobe +
                               " -define png:exclude-chunk=gAMA,cHRM,sRGB " + tagged)));
    // A grey picture whose values the grey profile describes.
    ASSERT_TRUE(testsupport::run(quiet(std::string(testsupport::kConvert) + " " + src +
                                       " -colorspace gray -profile " + kGrey +
                                       " -define png:exclude-chunk=gAMA,cHRM,sRGB " + grey)));
    std::string encode = c.encode, reference = c.reference;
    encode.replace(encode.find("{in}"), 4,
                   c.space == Space::AdobeRgb ? tagged
                   : c.space == Space::Grey   ? grey
                                              : src);
    encode.replace(encode.find("{out}"), 5, out);
    reference.replace(reference.find("{out}"), 5, out);
    reference.replace(reference.find("{ref}"), 5, ref);
    ASSERT_TRUE(testsupport::run(quiet(encode))) << encode;
    ASSERT_TRUE(testsupport::run(quiet(reference))) << reference;
    if (c.asHeif) {
        ASSERT_TRUE(rebrandAsHeif(out, out));
    }
    const Rgb raw = overWhite(readReference(ref));
    ASSERT_EQ(raw.width, 512);
    const Rgb expected =
        toSrgb(raw,
               c.space == Space::DisplayP3
                   ? displayP3()
                   : cmsOpenProfileFromFile((c.space == Space::Grey ? kGrey : kAdobe).c_str(), "r"),
               c.space == Space::Grey);
    ASSERT_EQ(expected.width, 512);

    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, out, kFormatAuto)) << img.message;
    EXPECT_LE(codectest::maxDiff(img, expected), 4);
    EXPECT_GE(codectest::maxDiff(img, raw), c.space == Space::Grey ? 3 : 12);
}

const ProfiledCase kCases[] = {
    // ImageMagick keeps the embedded profile when it writes JPEG and TIFF; the reference
    // decoders of netpbm and libjpeg leave it aside.
    {"jpeg_icc", Space::AdobeRgb, "convert {in} -quality 95 jpg:{out}",
     "djpeg {out} | pnmtopng > {ref}"},
    {"png_icc", Space::AdobeRgb, "cp {in} {out}", "pngtopam {out} | pamtopng > {ref}"},
    {"tiff_icc", Space::AdobeRgb, "convert {in} -compress lzw tif:{out}",
     "tifftopnm {out} | pnmtopng > {ref}"},
    {"jpeg_grey_icc", Space::Grey, "convert {in} -quality 95 jpg:{out}",
     "djpeg {out} | pnmtopng > {ref}"},
    {"png_grey_icc", Space::Grey, "cp {in} {out}", "pngtopam {out} | pamtopng > {ref}"},
    {"tiff_grey_icc", Space::Grey, "convert {in} -compress lzw tif:{out}",
     "tifftopnm {out} | pnmtopng > {ref}"},
    {"webp_icc", Space::AdobeRgb, "cwebp -lossless -metadata icc {in} -o {out}",
     "dwebp {out} -o {ref}"},
    {"webp_icc_lossy", Space::AdobeRgb, "cwebp -q 90 -metadata icc {in} -o {out}",
     "dwebp {out} -o {ref}"},
    {"heic_icc", Space::AdobeRgb, "heif-enc -q 90 {in} -o {out}", "heif-convert {out} {ref}"},
    // heif-enc keeps nclx in the HEVC data, where libheif does not report it; an AV1 picture in
    // a plain HEIF file carries it in its colour box.
    {"heif_nclx_p3", Space::DisplayP3, "avifenc -l --cicp 12/13/0 {in} {out}",
     "avifdec -d 8 {out} {ref}", true},
    {"avif_icc", Space::AdobeRgb, "avifenc -l {in} {out}", "avifdec -d 8 {out} {ref}"},
    {"avif_cicp_p3", Space::DisplayP3, "avifenc -l --cicp 12/13/0 {in} {out}",
     "avifdec -d 8 {out} {ref}"},
    {"jxl_icc_lossless", Space::AdobeRgb, "cjxl -d 0 {in} {out}", "djxl {out} {ref}"},
};

INSTANTIATE_TEST_SUITE_P(Formats, ProfiledPicture, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A PNG's chunks with an sRGB chunk (perceptual) put in after IHDR.
std::vector<uint8_t> withSrgbChunk(const std::vector<uint8_t>& png) {
    const size_t afterHeader = 8 + 25;  // signature and IHDR
    if (png.size() < afterHeader) return png;
    uint8_t chunk[13] = {0, 0, 0, 1, 's', 'R', 'G', 'B', 0};
    const uLong crc = crc32(0, chunk + 4, 5);
    for (int i = 0; i < 4; ++i) chunk[9 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    std::vector<uint8_t> out;
    out.reserve(png.size() + sizeof chunk);
    for (size_t i = 0; i < png.size(); ++i) {
        if (i == afterHeader) out.insert(out.end(), chunk, chunk + sizeof chunk);
        out.push_back(png[i]);
    }
    return out;
}

TEST(ProfiledPicture, SrgbProfilesAndSrgbChunksLeaveThePixelsAsStored) {
    testsupport::TempDir dir;
    const std::string src = dir.file("src.png"), adobe = dir.file("adobe.png");
    ASSERT_TRUE(writeSource(src, 64, 48, false));
    const std::string magick = std::string(testsupport::kConvert) + " " + src;
    const std::string srgb = " -profile " + kIcc + "sRGB.icc ";
    ASSERT_TRUE(testsupport::run(quiet(magick + " -quality 95 jpg:" + dir.file("plain.jpg"))));
    ASSERT_TRUE(testsupport::run(quiet(magick + srgb + "-quality 95 jpg:" + dir.file("srgb.jpg"))));
    ASSERT_TRUE(testsupport::run(quiet(magick + srgb + "png:" + dir.file("srgb.png"))));
    ASSERT_TRUE(
        testsupport::run(quiet(magick + srgb + "-compress lzw tif:" + dir.file("srgb.tif"))));
    ASSERT_TRUE(testsupport::run(quiet(magick + srgb + "-profile " + kAdobe +
                                       " -define png:exclude-chunk=gAMA,cHRM,sRGB " + adobe)));
    ASSERT_TRUE(testsupport::writeAll(dir.file("adobe-srgb.png"),
                                      withSrgbChunk(testsupport::readAll(adobe))));

    ImageBuffer plainJpeg, img;
    ASSERT_TRUE(OpenDib(plainJpeg, dir.file("plain.jpg"), kFormatJpg)) << plainJpeg.message;
    const Rgb source = testsupport::readNetpbm(src + ".ppm");
    const Rgb adobePixels = overWhite(readReference(adobe));  // netpbm leaves iCCP aside
    const struct {
        const char* file;
        const Rgb* expected;  // null: the untagged JPEG's decode
    } cases[] = {
        {"srgb.jpg", nullptr},
        {"srgb.png", &source},
        {"srgb.tif", &source},
        {"adobe-srgb.png", &adobePixels},  // the sRGB chunk wins over the Adobe RGB profile
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(OpenDib(img, dir.file(c.file), kFormatAuto)) << c.file << img.message;
        if (c.expected) {
            EXPECT_EQ(codectest::maxDiff(img, *c.expected), 0) << c.file;
            continue;
        }
        ASSERT_EQ(img.imageBytes(), plainJpeg.imageBytes());
        EXPECT_EQ(std::memcmp(img.bits, plainJpeg.bits, img.imageBytes()), 0) << c.file;
    }
}

}  // namespace
