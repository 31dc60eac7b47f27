#pragma once
// The last step of every reader that gets 8-bit pixels from a picture library: one row of them
// into a 24-bit picture row, with the colours converted to sRGB and any alpha laid over white.
// Each call handles a whole row (or a run of one), so no function is called per pixel.

#include <cstdint>

#include "core/imaging/color/PixelLayout.h"
#include "core/imaging/color/SrgbTransform.h"

namespace pr {

class BgrRowWriter {
public:
    // `premultiplied`: the colour values are already multiplied by alpha.
    BgrRowWriter(PixelLayout layout, bool premultiplied, SrgbTransform colour);

    // Writes `width` pixels of `in` as blue, green, red to `out`. `out` may be `in` when the
    // layout has no alpha (the rows a library wrote straight into the picture).
    void write(const uint8_t* in, int width, uint8_t* out) const;

    PixelLayout layout() const { return layout_; }
    bool converts() const { return colour_.converts(); }

private:
    PixelLayout layout_;
    bool premultiplied_;
    SrgbTransform colour_;
};

}  // namespace pr
