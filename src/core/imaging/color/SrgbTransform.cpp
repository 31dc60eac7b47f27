#include "core/imaging/color/SrgbTransform.h"

#include <lcms2.h>

#include "core/imaging/color/CodePointProfile.h"
#include "core/imaging/color/SrgbLikeness.h"

namespace pr {
namespace {

cmsUInt32Number lcmsFormat(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Rgb:
            return TYPE_RGB_8;
        case PixelLayout::Rgba:
            return TYPE_RGBA_8;
        case PixelLayout::Bgr:
            return TYPE_BGR_8;
        case PixelLayout::Bgra:
            return TYPE_BGRA_8;
        case PixelLayout::Grey:
            return TYPE_GRAY_8;
        case PixelLayout::GreyAlpha:
            return TYPE_GRAYA_8;
    }
    return TYPE_RGB_8;
}

bool fitsLayout(cmsHPROFILE profile, PixelLayout layout) {
    // A plain number: a forged profile may hold a value outside the enumeration.
    const uint32_t space = static_cast<uint32_t>(cmsGetColorSpace(profile));
    return isGrey(layout) ? space == cmsSigGrayData : space == cmsSigRgbData;
}

struct TransformDeleter {
    void operator()(void* t) const { cmsDeleteTransform(t); }
};

// Takes ownership of `source` (may be null).
std::shared_ptr<void> makeTransform(cmsHPROFILE source, PixelLayout layout) {
    if (!source) return nullptr;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = nullptr;
    if (srgb) {
        // No one-pixel cache: it would make the transform unusable from two threads at once, and
        // photos rarely repeat a pixel.
        transform =
            cmsCreateTransform(source, lcmsFormat(layout), srgb, TYPE_BGR_8, INTENT_PERCEPTUAL,
                               cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE);
        cmsCloseProfile(srgb);
    }
    cmsCloseProfile(source);
    if (!transform) return nullptr;
    return std::shared_ptr<void>(transform, TransformDeleter());
}

}  // namespace

SrgbTransform SrgbTransform::fromIcc(const uint8_t* profile, size_t size, PixelLayout layout) {
    SrgbTransform result;
    result.layout_ = layout;
    if (!profile || size < 128 || size > UINT32_MAX) return result;
    cmsHPROFILE source = cmsOpenProfileFromMem(profile, static_cast<cmsUInt32Number>(size));
    if (!source) return result;
    if (!fitsLayout(source, layout) || describesSrgb(source)) {
        cmsCloseProfile(source);
        return result;
    }
    result.transform_ = makeTransform(source, layout);
    return result;
}

SrgbTransform SrgbTransform::fromCodePoints(int primaries, int transfer, PixelLayout layout) {
    SrgbTransform result;
    result.layout_ = layout;
    cmsHPROFILE source = nullptr;
    if (profileForCodePoints(primaries, transfer, isGrey(layout), source) ==
        CodePointMeaning::Profile)
        result.transform_ = makeTransform(source, layout);
    return result;
}

void SrgbTransform::toBgr(const uint8_t* in, uint8_t* out, int width) const {
    if (transform_ && width > 0)
        cmsDoTransform(transform_.get(), in, out, static_cast<cmsUInt32Number>(width));
}

}  // namespace pr
