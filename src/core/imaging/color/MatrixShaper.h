#pragma once
// A faster way through the common case: an RGB profile made of three tone curves and a matrix
// (Adobe RGB, Display P3, most camera profiles) converted to sRGB in 8 bits. Per pixel it adds up
// three table entries per channel and looks the result up in sRGB's curve, about five times as
// fast as LittleCMS's own 8-bit path, which a 24-megapixel photo notices. It is only
// used where it agrees with LittleCMS to within one level (SrgbTransform checks that).

#include <cstdint>
#include <memory>

#include <lcms2.h>

#include "core/imaging/color/PixelLayout.h"

namespace pr {

class MatrixShaper {
public:
    // Null when `profile` is not an RGB matrix/shaper profile, or its black is not black (black
    // point compensation would then have work to do).
    static std::shared_ptr<const MatrixShaper> make(cmsHPROFILE profile);

    // `width` pixels of `layout` (Rgb, Bgr, Rgba or Bgra) to blue, green, red. `out` may be `in`
    // for the three-byte layouts.
    void toBgr(const uint8_t* in, uint8_t* out, int width, PixelLayout layout) const;

private:
    static constexpr int kFraction = 24;   // fixed point of the summed light
    static constexpr int kCurveBits = 14;  // entries of the output curve
    // For each input channel and value, its share of the linear red, green and blue (one spare
    // slot keeps the entries aligned).
    alignas(16) int32_t share_[3][256][4] = {};
    uint8_t encode_[1 << kCurveBits] = {};
};

}  // namespace pr
