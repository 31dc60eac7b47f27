#pragma once
// Brightness, contrast and saturation of a picture, in place.
//
// Each is a fixed mapping of one 8-bit channel value c (integer division truncates toward zero,
// clamp limits to 0..255):
//  - brightness b in -127..127:   clamp(c + b)
//  - contrast k in 0..200:        k <= 100: (c - 127) * k / 100 + 127
//                                 k >  100: with m = 200 - k, c * m / 100 below 128 and
//                                           255 - (255 - c) * m / 100 from 128 up
//  - saturation s in -100..100:   clamp((c - 128) * (s + 100) / 100 + 128)
// Values outside the ranges are taken as the nearest end. 0, 100 and 0 change nothing.
//
// 24-bit pictures change every channel of every pixel. Palette pictures change their palette
// entries instead (brightness and contrast all 2, 16 or 256 of them; saturation only 4- and 8-bit
// pictures, since a two-colour picture has no colour to saturate) and write them into the colour
// table, which copies of the record share; the pixel indexes stay.

#include <array>
#include <cstdint>

#include "core/imaging/ImageBuffer.h"

namespace pr {

using ChannelTable = std::array<uint8_t, 256>;

ChannelTable brightnessTable(int b);
ChannelTable contrastTable(int k);
ChannelTable saturationTable(int s);

void Helligkeit(ImageBuffer& image, int b);
void Kontrast(ImageBuffer& image, int k);
void Saettigung(ImageBuffer& image, int s);

// Helligkeit, Kontrast and Saettigung in that order, as the dialog applies them, in one pass over
// the pixels. The result is the same as the three calls.
void AdjustAll(ImageBuffer& image, int b, int k, int s);

// `first`, then `then`, as one table.
ChannelTable composeTables(const ChannelTable& first, const ChannelTable& then);
// The mapping of AdjustAll(b, k, s) for a picture of `bitCount` bits.
ChannelTable adjustAllTable(int b, int k, int s, int bitCount);
// Maps every channel of a 24-bit picture, or the colour table and palette of a palette picture,
// through `table` (nothing happens for a table that changes nothing).
void applyChannelTable(ImageBuffer& image, const ChannelTable& table);

}  // namespace pr
