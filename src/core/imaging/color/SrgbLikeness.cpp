#include "core/imaging/color/SrgbLikeness.h"

#include <cmath>
#include <memory>

namespace pr {
namespace {

// Colorants of the sRGB profiles found in the wild (HP's, LittleCMS's, Apple's, the compact ones
// of the web) agree to about 1e-4; a colorant off by 0.002 moves a value by less than half a
// level.
constexpr double kColorantTolerance = 0.002;
constexpr float kLevelTolerance = 0.5f;

struct ProfileCloser {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
struct CurveFreer {
    void operator()(cmsToneCurve* c) const { cmsFreeToneCurve(c); }
};

cmsToneCurve* srgbCurve() {
    // IEC 61966-2-1: linear below 0.04045, a 2.4 power above.
    static const cmsFloat64Number params[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92,
                                               0.04045};
    static const std::unique_ptr<cmsToneCurve, CurveFreer> curve(
        cmsBuildParametricToneCurve(nullptr, 4, params));
    return curve.get();
}

cmsToneCurve* srgbInverse() {
    static const std::unique_ptr<cmsToneCurve, CurveFreer> curve(cmsReverseToneCurve(srgbCurve()));
    return curve.get();
}

// Every 8-bit value, taken to light through `curve` and back through sRGB's inverse, lands
// within rounding of itself.
bool curveIsSrgb(const cmsToneCurve* curve) {
    if (!curve || !srgbInverse()) return false;
    for (int v = 0; v < 256; ++v) {
        const float light = cmsEvalToneCurveFloat(curve, v / 255.0f);
        const float back = cmsEvalToneCurveFloat(srgbInverse(), light) * 255.0f;
        if (std::fabs(back - static_cast<float>(v)) > kLevelTolerance) return false;
    }
    return true;
}

bool closeTo(const cmsCIEXYZ* a, const cmsCIEXYZ& b) {
    return a && std::fabs(a->X - b.X) <= kColorantTolerance &&
           std::fabs(a->Y - b.Y) <= kColorantTolerance &&
           std::fabs(a->Z - b.Z) <= kColorantTolerance;
}

struct SrgbColorants {
    cmsCIEXYZ red, green, blue;
};

const SrgbColorants& srgbColorants() {
    static const SrgbColorants colorants = [] {
        SrgbColorants c{};
        std::unique_ptr<void, ProfileCloser> srgb(cmsCreate_sRGBProfile());
        auto read = [&](cmsTagSignature tag, cmsCIEXYZ& out) {
            if (const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), tag)))
                out = *xyz;
        };
        read(cmsSigRedColorantTag, c.red);
        read(cmsSigGreenColorantTag, c.green);
        read(cmsSigBlueColorantTag, c.blue);
        return c;
    }();
    return colorants;
}

const cmsToneCurve* curveTag(cmsHPROFILE profile, cmsTagSignature tag) {
    return static_cast<const cmsToneCurve*>(cmsReadTag(profile, tag));
}

}  // namespace

bool describesSrgb(cmsHPROFILE profile) {
    if (!profile) return false;
    // A plain number: a forged profile may hold a value outside the enumeration.
    const uint32_t space = static_cast<uint32_t>(cmsGetColorSpace(profile));
    if (space == cmsSigGrayData) return curveIsSrgb(curveTag(profile, cmsSigGrayTRCTag));
    if (space != cmsSigRgbData || !cmsIsMatrixShaper(profile)) return false;
    const SrgbColorants& srgb = srgbColorants();
    const auto xyz = [&](cmsTagSignature tag) {
        return static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tag));
    };
    return closeTo(xyz(cmsSigRedColorantTag), srgb.red) &&
           closeTo(xyz(cmsSigGreenColorantTag), srgb.green) &&
           closeTo(xyz(cmsSigBlueColorantTag), srgb.blue) &&
           curveIsSrgb(curveTag(profile, cmsSigRedTRCTag)) &&
           curveIsSrgb(curveTag(profile, cmsSigGreenTRCTag)) &&
           curveIsSrgb(curveTag(profile, cmsSigBlueTRCTag));
}

}  // namespace pr
