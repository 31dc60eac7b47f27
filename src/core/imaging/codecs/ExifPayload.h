#pragma once
// The EXIF orientation of a metadata block as WebP keeps it: the TIFF structure itself, or, as
// some writers store it, the JPEG-style block that starts with "Exif\0\0".

#include <cstddef>
#include <cstdint>

namespace pr {

// 1..8; 1 when the block holds no readable orientation.
int exifPayloadOrientation(const uint8_t* data, size_t size);

}  // namespace pr
