#include "core/imaging/color/SrgbTransform.h"

#include <lcms2.h>

#include <cstdlib>

#include "core/imaging/color/CodePointProfile.h"
#include "core/imaging/color/MatrixShaper.h"
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

bool rgbLayout(PixelLayout layout) {
    return layout == PixelLayout::Rgb || layout == PixelLayout::Bgr ||
           layout == PixelLayout::Rgba || layout == PixelLayout::Bgra;
}

// The fast path must give what LittleCMS gives, to within a level, on a grid through the whole
// colour cube (17 steps a side, as LittleCMS's own tables).
bool agrees(const MatrixShaper& fast, cmsHTRANSFORM lcms) {
    constexpr int kSteps = 17;
    uint8_t in[kSteps * kSteps * kSteps * 3], a[sizeof in], b[sizeof in];
    int n = 0;
    for (int r = 0; r < kSteps; ++r)
        for (int g = 0; g < kSteps; ++g)
            for (int bl = 0; bl < kSteps; ++bl, ++n) {
                in[n * 3] = static_cast<uint8_t>(r * 255 / (kSteps - 1));
                in[n * 3 + 1] = static_cast<uint8_t>(g * 255 / (kSteps - 1));
                in[n * 3 + 2] = static_cast<uint8_t>(bl * 255 / (kSteps - 1));
            }
    fast.toBgr(in, a, n, PixelLayout::Rgb);
    cmsDoTransform(lcms, in, b, static_cast<cmsUInt32Number>(n));
    for (size_t i = 0; i < sizeof in; ++i)
        if (std::abs(int(a[i]) - int(b[i])) > 1) return false;
    return true;
}

// LittleCMS's transform from `source` for pixels of `layout` into `out`, and the fast path where
// it can stand in for it. Takes ownership of `source` (may be null).
void makeTransform(cmsHPROFILE source, PixelLayout layout, std::shared_ptr<void>& out,
                   std::shared_ptr<const MatrixShaper>& fast) {
    if (!source) return;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = nullptr;
    if (srgb) {
        // No one-pixel cache: it would make the transform unusable from two threads at once, and
        // photos rarely repeat a pixel.
        transform =
            cmsCreateTransform(source, lcmsFormat(layout), srgb, TYPE_BGR_8, INTENT_PERCEPTUAL,
                               cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE);
        if (transform && rgbLayout(layout)) {
            fast = MatrixShaper::make(source);
            cmsHTRANSFORM check =
                fast ? cmsCreateTransform(source, TYPE_RGB_8, srgb, TYPE_BGR_8, INTENT_PERCEPTUAL,
                                          cmsFLAGS_BLACKPOINTCOMPENSATION)
                     : nullptr;
            if (!check || !agrees(*fast, check)) fast = nullptr;
            if (check) cmsDeleteTransform(check);
        }
        cmsCloseProfile(srgb);
    }
    cmsCloseProfile(source);
    if (transform) out = std::shared_ptr<void>(transform, TransformDeleter());
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
    makeTransform(source, layout, result.transform_, result.fast_);
    return result;
}

SrgbTransform SrgbTransform::fromCodePoints(int primaries, int transfer, PixelLayout layout) {
    SrgbTransform result;
    result.layout_ = layout;
    cmsHPROFILE source = nullptr;
    if (profileForCodePoints(primaries, transfer, isGrey(layout), source) ==
        CodePointMeaning::Profile)
        makeTransform(source, layout, result.transform_, result.fast_);
    return result;
}

void SrgbTransform::toBgr(const uint8_t* in, uint8_t* out, int width) const {
    if (width <= 0) return;
    if (fast_)
        fast_->toBgr(in, out, width, layout_);
    else if (transform_)
        cmsDoTransform(transform_.get(), in, out, static_cast<cmsUInt32Number>(width));
}

}  // namespace pr
