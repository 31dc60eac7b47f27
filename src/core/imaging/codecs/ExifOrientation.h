#pragma once
// The EXIF orientation tag (0x0112) of a JPEG APP1 segment, and turning a decoded picture upright.

#include <cstddef>
#include <cstdint>

#include "core/imaging/ImageBuffer.h"

namespace pr {

// `data` is the APP1 payload after the marker length ("Exif\0\0" then a TIFF structure). Returns
// 1..8, or 1 when there is no such tag or anything about the structure is out of bounds.
int exifOrientation(const uint8_t* data, size_t size);

// True for the orientations (5..8) whose upright picture has width and height swapped.
inline bool orientationSwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// Turns `img` (8 or 24 bits) upright for the given orientation: mirrors in place for 2..4, a new
// picture for 5..8. Returns false only when the new picture cannot be allocated; `img` then keeps
// the picture as stored.
bool applyExifOrientation(ImageBuffer& img, int orientation);

}  // namespace pr
