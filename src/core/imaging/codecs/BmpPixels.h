#pragma once
// Pixel loops of the bitmap reader that are worth testing on their own: run-length decoding and
// bit-field conversion.

#include <cstddef>
#include <cstdint>

#include "core/imaging/ImageBuffer.h"

namespace pr {

// Decodes RLE8 (rle4 false) or RLE4 data into `img` (8 or 4 bits, zeroed). Runs, absolute runs
// and deltas that reach past a row or past the picture are clipped; data that ends early leaves
// the rest as it was. `topDown` files count rows from the top.
void decodeBmpRle(const uint8_t* data, size_t size, bool rle4, bool topDown, ImageBuffer& img);

// Converts `count` 16- or 32-bit pixels with the given red, green and blue masks to blue, green,
// red bytes. A channel of n bits is stretched to 0..255; an empty mask gives 0.
void convertBitfieldRow(const uint8_t* src, int count, int bits, const uint32_t masks[3],
                        uint8_t* dst);

}  // namespace pr
