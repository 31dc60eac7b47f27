#include "core/album/AlbumImage.h"

namespace pr {

int AlbumImage::width() const {
    if (!Source) return 0;
    int w, h;
    recipeSize(recipe(), Source->width(), Source->height(), w, h);
    return w;
}

int AlbumImage::height() const {
    if (!Source) return 0;
    int w, h;
    recipeSize(recipe(), Source->width(), Source->height(), w, h);
    return h;
}

int AlbumImage::bitCount() const {
    if (!Source) return 0;
    // Raising the quality raises the depth to 24 bits first.
    return enlarged() ? 24 : Source->bitCount();
}

}  // namespace pr
