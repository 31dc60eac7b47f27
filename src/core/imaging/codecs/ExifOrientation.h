#pragma once
// The EXIF orientation tag (0x0112) of a JPEG APP1 segment (what it means: Orientation.h).

#include <cstddef>
#include <cstdint>

namespace pr {

// `data` is the APP1 payload after the marker length ("Exif\0\0" then a TIFF structure). Returns
// 1..8, or 1 when there is no such tag or anything about the structure is out of bounds.
int exifOrientation(const uint8_t* data, size_t size);

}  // namespace pr
