#pragma once
// Converting a picture's colours from the colour space it declares into sRGB, the space in which
// this program shows and prints every picture. Made once per picture from its ICC profile (or
// from coded primaries and transfer characteristics) and applied row by row inside the reader's
// own loop, so a 24-megapixel picture is never walked twice.
//
// No conversion is made, and the picture decodes bit for bit as an untagged one, when the
// profile is missing, cannot be read, describes another colour space than the pixels (an RGB
// profile on grey pixels), or already describes sRGB. A broken profile never refuses a picture.
//
// The conversion uses LittleCMS 2 with perceptual intent and black point compensation, on its
// optimised 8-bit path; RGB profiles of curves and a matrix take a faster path of their own
// (MatrixShaper.h) where that agrees with LittleCMS. One transform may be used from several
// threads at once.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/imaging/color/PixelLayout.h"

namespace pr {

class SrgbTransform {
public:
    SrgbTransform() = default;  // converts nothing

    // From an embedded ICC profile for pixels of `layout`.
    static SrgbTransform fromIcc(const uint8_t* profile, size_t size, PixelLayout layout);

    // From colour primaries and transfer characteristics as ITU-T H.273 numbers them (HEIF and
    // AVIF "nclx", CICP). Unknown or high-dynamic-range code points convert nothing.
    static SrgbTransform fromCodePoints(int primaries, int transfer, PixelLayout layout);

    bool converts() const { return transform_ != nullptr || fast_ != nullptr; }
    PixelLayout layout() const { return layout_; }

    // Converts `width` pixels of the layout at `in` into blue, green, red at `out`. `out` may be
    // `in` when the layout is Bgr. An alpha channel is stepped over, not applied.
    void toBgr(const uint8_t* in, uint8_t* out, int width) const;

private:
    std::shared_ptr<void> transform_;                 // LittleCMS
    std::shared_ptr<const class MatrixShaper> fast_;  // or this, where it agrees
    PixelLayout layout_ = PixelLayout::Rgb;
};

}  // namespace pr
