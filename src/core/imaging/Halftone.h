#pragma once
// The fixed palette of halftoned pictures (DIBHalftoneDIB, DIBHalftoneDIBXY in RasterLibrary.h).
//
//  - Entries 0..215: the 6 x 6 x 6 colour cube, index 36 r + 6 g + b for the levels
//    r, g, b = 0..5, each level worth 51 (0, 51, 102, 153, 204, 255).
//  - Entries 216..255: forty greys that fill the gaps between the cube's six greys, so that greys
//    form a ramp of 46 even steps of 255/45. Black-and-white photos and the near-grey parts of
//    colour photos are dithered on that ramp, which is nine times finer than the cube's.
//
// Halftoning uses an 8 x 8 ordered (Bayer) dither: each pixel depends only on its own colour and
// its position, so rows are independent and colours that the palette holds come out unchanged.
// Pictures that are reduced are averaged over the area each new pixel covers; enlarged ones take
// the nearest pixel. 1-, 4- and 8-bit sources go through their colour table.
// Every halftoned picture shares one palette handle, so a device sees the same palette each time.

#include "core/imaging/ImageBuffer.h"

namespace pr {

constexpr int kHalftoneCubeLevels = 6;
constexpr int kHalftoneFirstGrey = 216;

// The 256-entry colour table above.
const BitmapInfo& halftoneColorTable();
// The palette handle that every halftoned picture carries.
const PaletteHandle& halftonePalette();

}  // namespace pr
