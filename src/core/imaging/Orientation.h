#pragma once
// Turning a decoded picture upright. The EXIF and TIFF orientation tag (1..8) says where the
// stored picture's first row and first column belong:
//   1 as stored            2 mirrored left to right   3 turned half round   4 upside down
//   5 transposed (first row becomes the left column)  6 turned a quarter clockwise
//   7 transposed the other way                        8 turned a quarter anticlockwise
// 5..8 swap width and height.

#include "core/imaging/ImageBuffer.h"

namespace pr {

// True for the orientations (5..8) whose upright picture has width and height swapped.
inline bool orientationSwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// Turns `img` (1, 4, 8 or 24 bits) upright: in place for 2..4, into a new picture for 5..8
// (through the quarter turns of Rotate.h). Values outside 2..8 leave it as it is. Returns false
// only when the turned picture cannot be allocated; `img` then keeps the picture as stored.
bool applyOrientation(ImageBuffer& img, int orientation);

}  // namespace pr
