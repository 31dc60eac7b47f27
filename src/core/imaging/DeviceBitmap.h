#pragma once
// The device-dependent bitmap of DrawDib's last fallback (DibTarget.h), and the rectangles both
// speak in (coordinates as DibTarget.h describes them).

#include <cstdint>

#include "core/imaging/ImageBuffer.h"

namespace pr {

struct DibRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const DibRect& a, const DibRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// First row, counted from the top as seen, of a source rectangle in stored (bottom-up) rows.
inline int dibSourceTopSeen(const DibRect& source, int imageHeight) {
    return imageHeight - source.y - source.height;
}

// A device-dependent bitmap for the last fallback of DrawDib. Released by destroying it.
class DeviceBitmap {
public:
    virtual ~DeviceBitmap() = default;
    // Copies all pixels of `image` (same size as the bitmap was made) into the bitmap.
    virtual bool setBits(const ImageBuffer& image) = 0;
    // Stretch-copies `source` (in bitmap coordinates) into `dest` on the device with `rop`.
    virtual bool stretchBlt(const DibRect& dest, const DibRect& source, uint32_t rop) = 0;
};

}  // namespace pr
