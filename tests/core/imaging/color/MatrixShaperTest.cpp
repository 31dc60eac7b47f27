// The fast path for curve-and-matrix profiles gives LittleCMS's colours to within one level.

#include <gtest/gtest.h>
#include <lcms2.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/imaging/color/MatrixShaper.h"

using namespace pr;

namespace {

const std::string kIcc = "/usr/share/color/icc/";

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

TEST(MatrixShaper, AgreesWithLittleCmsOnAMillionColours) {
    const struct {
        const char* what;
        cmsHPROFILE profile;
    } cases[] = {
        {"Adobe RGB",
         cmsOpenProfileFromFile((kIcc + "compatibleWithAdobeRGB1998.icc").c_str(), "r")},
        {"L* RGB", cmsOpenProfileFromFile((kIcc + "LStar-RGB.icc").c_str(), "r")},
        {"Display P3", displayP3()},
    };
    std::mt19937 rng(7);
    std::vector<uint8_t> in(3u << 20), fast(in.size()), lcms(in.size());
    for (uint8_t& v : in) v = static_cast<uint8_t>(rng());
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    for (const auto& c : cases) {
        ASSERT_NE(c.profile, nullptr) << c.what;
        const std::shared_ptr<const MatrixShaper> shaper = MatrixShaper::make(c.profile);
        ASSERT_NE(shaper, nullptr) << c.what;
        cmsHTRANSFORM t = cmsCreateTransform(c.profile, TYPE_RGB_8, srgb, TYPE_BGR_8,
                                             INTENT_PERCEPTUAL, cmsFLAGS_BLACKPOINTCOMPENSATION);
        ASSERT_NE(t, nullptr);
        const int n = static_cast<int>(in.size() / 3);
        shaper->toBgr(in.data(), fast.data(), n, PixelLayout::Rgb);
        cmsDoTransform(t, in.data(), lcms.data(), static_cast<cmsUInt32Number>(n));
        int worst = 0;
        for (size_t i = 0; i < in.size(); ++i)
            worst = std::max(worst, std::abs(int(fast[i]) - int(lcms[i])));
        EXPECT_LE(worst, 1) << c.what;
        // The other layouts and in place: the same colours.
        std::vector<uint8_t> bgra, bgr(in.size());
        for (int i = 0; i < n; ++i)
            bgra.insert(bgra.end(), {in[i * 3 + 2], in[i * 3 + 1], in[i * 3], 77});
        shaper->toBgr(bgra.data(), bgr.data(), n, PixelLayout::Bgra);
        EXPECT_EQ(bgr, fast) << c.what;
        std::vector<uint8_t> inPlace = in;
        shaper->toBgr(inPlace.data(), inPlace.data(), n, PixelLayout::Rgb);
        EXPECT_EQ(inPlace, fast) << c.what;
        cmsDeleteTransform(t);
        cmsCloseProfile(c.profile);
    }
    cmsCloseProfile(srgb);
}

TEST(MatrixShaper, OnlyForCurveAndMatrixProfiles) {
    for (const char* name : {"Gray.icc", "ITULab.icc", "LCMSLABI.ICM"}) {
        cmsHPROFILE p = cmsOpenProfileFromFile((kIcc + name).c_str(), "r");
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(MatrixShaper::make(p), nullptr) << name;
        cmsCloseProfile(p);
    }
}

}  // namespace
