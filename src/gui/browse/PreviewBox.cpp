#include "gui/browse/PreviewBox.h"

#include <QPainter>

#include "core/imaging/ImageBuffer.h"
#include "render/QPainterDibTarget.h"

namespace pr {

PreviewBox::PreviewBox(std::function<const ImageBuffer*()> picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setObjectName(QStringLiteral("DibPrevPaint"));
    setMinimumSize(120, 90);
}

QSize PreviewBox::fittedSize(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    // 64-bit products: a 9000-pixel box and a 60000-pixel picture overflow 32 bits.
    const int64_t h1 = int64_t{boxWidth} * pictureHeight / pictureWidth;
    if (boxHeight < h1)
        return QSize(static_cast<int>(int64_t{boxHeight} * pictureWidth / pictureHeight),
                     boxHeight);
    return QSize(boxWidth, static_cast<int>(h1));
}

void PreviewBox::paintEvent(QPaintEvent*) {
    const ImageBuffer* image = picture_ ? picture_() : nullptr;
    if (!image || !image->valid()) return;
    const QSize size = fittedSize(width(), height(), image->width(), image->height());
    if (size.isEmpty()) return;
    QPainter painter(this);
    drawDib(painter, 0, 0, size.width(), size.height(), *image, 0, 0, image->width(),
            image->height(), true, true);
}

}  // namespace pr
