#pragma once
// The resolution each placement prints at, from the picture's own pixels (what its file holds,
// turned by its quarter turns) and not from a copy enlarged to the minimum quality: enlarging
// adds pixels, not detail.

#include "core/album/Album.h"
#include "core/album/PictureFactsCache.h"

namespace pr {

struct PixelCount {
    int width = 0, height = 0;
};

// The picture's own size, upright as it is shown: the file's size, its sides exchanged when the
// picture in memory lies the other way (turned by the file's orientation or by quarter turns).
// The size in memory when the file cannot tell (a missing or unreadable file).
PixelCount fullPixelSize(const AlbumImage& picture, PictureFactsCache& facts);

// effectiveDpi of the placement's picture in its frame; 0 when it shows no picture.
double placementDpi(const Album& album, const Placement& placement, bool keepAspect,
                    PictureFactsCache& facts);

}  // namespace pr
