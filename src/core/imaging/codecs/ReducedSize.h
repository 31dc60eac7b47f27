#pragma once
// The size a reader may decode to when a thumbnail is wanted: the same shape as the picture,
// still covering the wanted box, so the scaler that follows only ever shrinks.

#include "core/imaging/codecs/Codec.h"

namespace pr {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The smallest size of the picture's shape with width >= wantWidth and height >= wantHeight;
// the picture's own size when no reduction is asked for or the picture is not larger.
// `swapsAxes`: the picture is turned a quarter after decoding, so the wanted box is turned too.
PixelSize reducedSizeCovering(int width, int height, const DecodeOptions& options,
                              bool swapsAxes = false);

}  // namespace pr
