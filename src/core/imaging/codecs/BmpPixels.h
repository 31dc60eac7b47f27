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

// Converts `count` 16- or 32-bit pixels with the given red, green, blue and alpha masks (an alpha
// mask of 0: no alpha) to blue, green, red bytes, alpha laid over white. A channel of up to 8 bits
// is widened by repeating its bits, so that its full value is 255 (4 bits: v * 17, 5 bits:
// (v << 3) | (v >> 2)); a wider or broken mask is scaled to 0..255; an empty mask gives 0.
void convertBitfieldRow(const uint8_t* src, int count, int bits, const uint32_t masks[4],
                        uint8_t* dst);

// True when some of the `count` pixels has a non-zero value under `alphaMask`.
bool anyBitfieldAlpha(const uint8_t* src, int count, int bits, uint32_t alphaMask);

}  // namespace pr
