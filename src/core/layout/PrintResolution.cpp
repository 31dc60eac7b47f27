#include "core/layout/PrintResolution.h"

#include "core/layout/EffectiveResolution.h"
#include "core/layout/PlacementEditing.h"

namespace pr {

PixelCount fullPixelSize(const AlbumImage& picture, PictureFactsCache& facts) {
    const int w = picture.width();
    const int h = picture.height();
    const PictureFacts& f = facts.of(picture.FileName);
    if (!f.sizeKnown) return {w, h};
    // Enlarging keeps the proportions, so the picture as the album shows it still tells which way
    // it lies.
    const bool landscapeInMemory = w > h, landscapeInFile = f.width > f.height;
    if (w != h && f.width != f.height && landscapeInMemory != landscapeInFile)
        return {f.height, f.width};
    return {f.width, f.height};
}

double placementDpi(const Album& album, const Placement& placement, bool keepAspect,
                    PictureFactsCache& facts) {
    const int32_t index = pictureIndexOfKey(album, placement.ImageKey);
    if (index < 0) return 0;
    const PixelCount size = fullPixelSize(album.Pictures[static_cast<size_t>(index)], facts);
    return effectiveDpi(size.width, size.height, placement.Width, placement.Height,
                        placement.FitCrop != 0, keepAspect);
}

}  // namespace pr
