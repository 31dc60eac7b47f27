#include "render/QImageDeviceBitmap.h"

#include "render/DibToQImage.h"

namespace pr {

bool QImageDeviceBitmap::setBits(const ImageBuffer& image) {
    if (image.width() != width_ || image.height() != height_) return false;
    pixels_ = dibToQImage(image);
    return !pixels_.isNull();
}

bool QImageDeviceBitmap::stretchBlt(const DibRect& dest, const DibRect& source, uint32_t) {
    if (pixels_.isNull()) return false;
    // pixels_ is upright: the source's first row as seen is counted from the top.
    const QRectF from(source.x, dibSourceTopSeen(source, height_), source.width, source.height);
    painter_.drawImage(QRectF(dest.x, dest.y, dest.width, dest.height), pixels_, from);
    return true;
}

}  // namespace pr
