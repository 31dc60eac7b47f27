#pragma once
// Palette and grey pictures are converted to sRGB through their colour table: the same colours
// for every pixel at the cost of at most 256 conversions.

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/color/SrgbTransform.h"

namespace pr {

// Converts the first `count` entries of `colours`: for a Grey transform each entry's red value
// is the grey level (the entries of a grey ramp), for an Rgb transform the entry's colour. Other
// transforms, and a transform that converts nothing, leave the table alone.
void convertColourTable(const SrgbTransform& transform, RgbQuad* colours, int count);

}  // namespace pr
