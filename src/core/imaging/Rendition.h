#pragma once
// Rendition: a picture made for one destination, exactly the device pixels it covers there.
//
// Pixels are 32-bit values 0xFFRRGGBB, rows top-down: what Qt calls Format_RGB32, the format its
// raster and PDF paint engines take as it is (any other format is converted at every drawing,
// and a PDF then gets an alpha mask scanned pixel by pixel). The memory comes from the pixel pool.
//
// A rendition never changes once made and is shared read-only (std::shared_ptr<const Rendition>)
// between the rendition cache, the window thread and workers. The paint side keeps one image
// object per rendition in `face` (render/RenditionImage.h), so that drawing the same rendition
// twice hands the device the same image: a PDF then holds it once.

#include <cstdint>
#include <memory>
#include <mutex>

#include "core/imaging/PixelPool.h"

namespace pr {

struct Rendition {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, width * 4
    uint8_t* pixels = nullptr;
    std::shared_ptr<PixelBlock> block;

    // The paint side's image over these pixels, made once on first use.
    mutable std::once_flag faceOnce;
    mutable std::shared_ptr<const void> face;

    bool valid() const { return pixels != nullptr && width > 0 && height > 0; }
    uint32_t* row(int y) const {
        return reinterpret_cast<uint32_t*>(pixels + static_cast<int64_t>(y) * stride);
    }
    size_t bytes() const { return static_cast<size_t>(stride) * static_cast<size_t>(height); }
};

// Makes `out` width x height with undefined pixels (the maker writes every one). False when a
// side is not positive, the size passes the picture limits or memory ran out.
bool makeRendition(Rendition& out, int width, int height);

// The 32-bit value of a pixel of these channels.
inline uint32_t renditionPixel(uint8_t red, uint8_t green, uint8_t blue) {
    return 0xFF000000u | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           blue;
}

}  // namespace pr
