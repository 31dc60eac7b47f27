// Pictures that carry a colour space other than sRGB (an Adobe RGB (1998) profile, or Display P3
// primaries in nclx/CICP) decode to what LittleCMS makes of the reference decoder's pixels, and
// visibly differ from those pixels taken as they are.

#include <lcms2.h>

#include "PhotoFormatsSupport.h"

using namespace pr;
using namespace photo;

namespace {

const std::string kAdobe = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";

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

// LittleCMS's own conversion of the reference pixels, perceptual with black point compensation.
Rgb toSrgb(const Rgb& src, cmsHPROFILE from) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM t = cmsCreateTransform(from, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL,
                                         cmsFLAGS_BLACKPOINTCOMPENSATION);
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

struct ProfiledCase {
    const char* name;
    bool adobe;          // else Display P3 from code points
    const char* encode;  // {in} source PNG, {out} the encoded file
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
                      out = dir.file("pic"), ref = dir.file("ref.png");
    // Large enough that the lossless WebP arrives in several slices.
    ASSERT_TRUE(writeSource(src, 512, 384, false));
    // ImageMagick converts the sRGB picture into Adobe RGB and embeds the profile.
    ASSERT_TRUE(
        testsupport::run(quiet(std::string(testsupport::kConvert) + " " + src +
                               " -profile /usr/share/color/icc/sRGB.icc -profile " + kAdobe +
                               " -define png:exclude-chunk=gAMA,cHRM,sRGB " + tagged)));
    std::string encode = c.encode, reference = c.reference;
    encode.replace(encode.find("{in}"), 4, c.adobe ? tagged : src);
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
        toSrgb(raw, c.adobe ? cmsOpenProfileFromFile(kAdobe.c_str(), "r") : displayP3());
    ASSERT_EQ(expected.width, 512);

    ImageBuffer img;
    ASSERT_TRUE(OpenDib(img, out, kFormatAuto)) << img.message;
    EXPECT_LE(codectest::maxDiff(img, expected), 4);
    EXPECT_GE(codectest::maxDiff(img, raw), 12);
}

const ProfiledCase kCases[] = {
    {"webp_icc", true, "cwebp -lossless -metadata icc {in} -o {out}", "dwebp {out} -o {ref}"},
    {"webp_icc_lossy", true, "cwebp -q 90 -metadata icc {in} -o {out}", "dwebp {out} -o {ref}"},
    {"heic_icc", true, "heif-enc -q 90 {in} -o {out}", "heif-convert {out} {ref}"},
    // heif-enc keeps nclx in the HEVC data, where libheif does not report it; an AV1 picture in
    // a plain HEIF file carries it in its colour box.
    {"heif_nclx_p3", false, "avifenc -l --cicp 12/13/0 {in} {out}", "avifdec -d 8 {out} {ref}",
     true},
    {"avif_icc", true, "avifenc -l {in} {out}", "avifdec -d 8 {out} {ref}"},
    {"avif_cicp_p3", false, "avifenc -l --cicp 12/13/0 {in} {out}", "avifdec -d 8 {out} {ref}"},
    {"jxl_icc_lossless", true, "cjxl -d 0 {in} {out}", "djxl {out} {ref}"},
};

INSTANTIATE_TEST_SUITE_P(Formats, ProfiledPicture, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
