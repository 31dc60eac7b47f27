#pragma once
// DepthUpTo: raises the colour depth of a picture in place, so that later work (resampling with
// interpolation, adjustments) has real colours to work on.
//
// Pairs converted (target <- source): 8 <- 4, 4 <- 1, 8 <- 1, 24 <- 1, 24 <- 4, 24 <- 8.
//  - To 24 bits palette pictures are looked up in their palette; 1-bit pictures become black (0)
//    and white (any other index) whatever their palette colours, because two-colour scans often
//    carry odd palettes and print best as plain black and white.
//  - 8 <- 4 keeps the 16 colours as entries 0..15; 4 <- 1 and 8 <- 1 put black first and white
//    last. The unused entries in between get random colours with the two lowest bits of each
//    channel cleared, as they always have; nothing refers to them.
// Any other pair, and a picture already at 24 bits, leaves the picture as it was.

#include <functional>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace pr {

// Random source for the unused palette entries: returns a number in 0..n-1. Tests pass their own
// to get the same palette every time; an empty function uses a generator of this module.
using RandomFn = std::function<int(int n)>;

enum class DepthResult {
    Converted,
    Unchanged,    // already 24 bits, or a pair outside the list above
    OutOfMemory,  // the new picture could not be made; the old one is untouched
};

// Progress: 0 first, r * 100 div (rows - 1) before each stored row r (0 for one-row pictures),
// 0 at the end.
DepthResult DepthUpTo(ImageBuffer& image, int targetBits, const ProgressFn& progress = {},
                      const RandomFn& random = {});

}  // namespace pr
