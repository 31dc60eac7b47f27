#include "core/imaging/color/CodePointProfile.h"

namespace pr {
namespace {

struct Primaries {
    int code;
    cmsCIExyY white;
    cmsCIExyYTRIPLE rgb;
};

constexpr cmsCIExyY kD65{0.3127, 0.3290, 1.0};
constexpr cmsCIExyY kIlluminantC{0.310, 0.316, 1.0};
constexpr cmsCIExyY kDci{0.314, 0.351, 1.0};

// ITU-T H.273, table 2 (1 = BT.709 = sRGB is handled before the table is consulted).
const Primaries kPrimaries[] = {
    {4, kIlluminantC, {{0.67, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.14, 0.08, 1.0}}},
    {5, kD65, {{0.64, 0.33, 1.0}, {0.29, 0.60, 1.0}, {0.15, 0.06, 1.0}}},
    {6, kD65, {{0.630, 0.340, 1.0}, {0.310, 0.595, 1.0}, {0.155, 0.070, 1.0}}},
    {7, kD65, {{0.630, 0.340, 1.0}, {0.310, 0.595, 1.0}, {0.155, 0.070, 1.0}}},
    {8, kIlluminantC, {{0.681, 0.319, 1.0}, {0.243, 0.692, 1.0}, {0.145, 0.049, 1.0}}},
    {9, kD65, {{0.708, 0.292, 1.0}, {0.170, 0.797, 1.0}, {0.131, 0.046, 1.0}}},
    {11, kDci, {{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}}},
    {12, kD65, {{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}}},
    {22, kD65, {{0.630, 0.340, 1.0}, {0.295, 0.605, 1.0}, {0.155, 0.077, 1.0}}},
};

enum class Curve { Srgb, Gamma22, Gamma28, Linear, Unsupported };

Curve curveFor(int transfer) {
    switch (transfer) {
        case 1:   // BT.709
        case 2:   // unspecified
        case 6:   // BT.601
        case 13:  // sRGB
        case 14:  // BT.2020, 10 bits
        case 15:  // BT.2020, 12 bits
            return Curve::Srgb;
        case 4:
            return Curve::Gamma22;
        case 5:
            return Curve::Gamma28;
        case 8:
            return Curve::Linear;
        default:  // PQ, HLG, logarithmic and the rest
            return Curve::Unsupported;
    }
}

cmsToneCurve* buildCurve(Curve curve) {
    switch (curve) {
        case Curve::Srgb: {
            const cmsFloat64Number p[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
            return cmsBuildParametricToneCurve(nullptr, 4, p);
        }
        case Curve::Gamma22:
            return cmsBuildGamma(nullptr, 2.2);
        case Curve::Gamma28:
            return cmsBuildGamma(nullptr, 2.8);
        case Curve::Linear:
            return cmsBuildGamma(nullptr, 1.0);
        case Curve::Unsupported:
            break;
    }
    return nullptr;
}

}  // namespace

CodePointMeaning profileForCodePoints(int primaries, int transfer, bool grey, cmsHPROFILE& out) {
    out = nullptr;
    const Curve curve = curveFor(transfer);
    if (curve == Curve::Unsupported) return CodePointMeaning::Unsupported;
    const bool srgbPrimaries = primaries == 1 || primaries == 2;
    if (curve == Curve::Srgb && (srgbPrimaries || grey)) return CodePointMeaning::Srgb;

    const Primaries* found = nullptr;
    for (const Primaries& p : kPrimaries)
        if (p.code == primaries) found = &p;
    if (!found && !srgbPrimaries && !grey) return CodePointMeaning::Unsupported;

    cmsToneCurve* tone = buildCurve(curve);
    if (!tone) return CodePointMeaning::Unsupported;
    const cmsCIExyY& white = found ? found->white : kD65;
    if (grey) {
        out = cmsCreateGrayProfile(&white, tone);
    } else {
        static const cmsCIExyYTRIPLE kSrgbPrimaries = {
            {0.640, 0.330, 1.0}, {0.300, 0.600, 1.0}, {0.150, 0.060, 1.0}};
        cmsToneCurve* curves[3] = {tone, tone, tone};
        out = cmsCreateRGBProfile(&white, found ? &found->rgb : &kSrgbPrimaries, curves);
    }
    cmsFreeToneCurve(tone);
    return out ? CodePointMeaning::Profile : CodePointMeaning::Unsupported;
}

}  // namespace pr
