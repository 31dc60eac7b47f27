#pragma once
// PictureRecipe: what the album did to a picture since its file was read, as plain values, so that
// any rendition of it can be made from the file again: the quarter turns, the brightness/contrast/
// saturation settings in the order they were confirmed, and the size the quality enhancement
// raised it to.
//
// The pixels of a rendition are the file's picture (upright), turned by Rotation, then changed by
// each adjustment in order; the enlargement only sets the picture's size, and the resampling to a
// destination then interpolates instead of averaging. Turns and adjustments commute (an
// adjustment maps each channel value by itself, wherever the pixel is), so this order gives what
// any order of the same operations gives.

#include <cstdint>
#include <vector>

#include "core/imaging/Adjust.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

// One confirmed setting of the three sliders.
struct Adjustment {
    int Brightness = 0;  // -127..127
    int Contrast = 100;  // 0..200
    int Saturation = 0;  // -100..100

    bool operator==(const Adjustment& o) const {
        return Brightness == o.Brightness && Contrast == o.Contrast && Saturation == o.Saturation;
    }
    bool changesNothing() const { return Brightness == 0 && Contrast == 100 && Saturation == 0; }
};

struct PictureRecipe {
    int32_t Rotation = 0;                 // quarter turns clockwise, 0..3
    std::vector<Adjustment> Adjustments;  // oldest first
    // Size the picture was raised to, as the file's picture stands (before the turns); 0 x 0
    // when it was never enlarged.
    int32_t EnlargedWidth = 0;
    int32_t EnlargedHeight = 0;
};

// The channel mapping of all adjustments in order, for a picture of `bitCount` bits (two-colour
// pictures have no saturation, as in AdjustAll).
ChannelTable adjustmentTable(const std::vector<Adjustment>& adjustments, int bitCount);

// Identifies turns and adjustments (not the enlargement): equal recipes give equal pixels.
uint64_t pixelRecipeHash(int32_t rotation, const std::vector<Adjustment>& adjustments);

// Turns `picture` by `rotation` quarter turns clockwise and applies the adjustments (palette
// pictures change their colour table, as AdjustAll does). Pixels that `picture` shares with other
// records are copied first, never changed under them. False when memory ran out.
bool applyPixelRecipe(ImageBuffer& picture, int32_t rotation,
                      const std::vector<Adjustment>& adjustments);

// The size of a file picture of fileWidth x fileHeight once the recipe is applied: enlarged if it
// was, and with width and height exchanged for an odd number of turns.
void recipeSize(const PictureRecipe& recipe, int fileWidth, int fileHeight, int& width,
                int& height);

}  // namespace pr
