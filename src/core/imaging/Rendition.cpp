#include "core/imaging/Rendition.h"

#include "core/imaging/Limits.h"

namespace pr {

bool makeRendition(Rendition& out, int width, int height) {
    out.block.reset();
    out.pixels = nullptr;
    out.width = out.height = out.stride = 0;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (pixels > static_cast<uint64_t>(kMaxImagePixels) || pixels * 4 > kMaxImageBytes * 2)
        return false;
    out.block = PixelPool::shared().take(static_cast<size_t>(pixels * 4), false);
    if (!out.block) return false;
    out.width = width;
    out.height = height;
    out.stride = width * 4;
    out.pixels = out.block->data;
    return true;
}

}  // namespace pr
