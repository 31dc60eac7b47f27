#include "core/browse/ThumbnailSize.h"

#include <cstdint>

namespace pr {

std::optional<ThumbnailSize> thumbnailSizeFor(int pictureWidth, int pictureHeight) {
    if (pictureWidth < 2 || pictureHeight < 2) return std::nullopt;
    const int64_t w = pictureWidth, h = pictureHeight;
    int64_t tw = kThumbnailSide;
    int64_t th = h * kThumbnailSide / w;
    if (th > kThumbnailSide) {
        th = kThumbnailSide;
        tw = w * kThumbnailSide / h;
    }
    if (tw <= 0 || th <= 0) return std::nullopt;
    return ThumbnailSize{static_cast<int>(tw), static_cast<int>(th)};
}

}  // namespace pr
