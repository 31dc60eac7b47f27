#include "render/QPainterDibTarget.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QScreen>
#include <algorithm>

#include "render/DibToQImage.h"
#include "render/QImageDeviceBitmap.h"

namespace pr {

namespace {

// The stored rows [firstRow, firstRow + rows) of `dib` as a QImage in stored order, that is upside
// down as seen. 1, 8 and 24 bits point at the picture's own rows; 4 bits are widened to 8 (a copy
// of those rows only). Null for an unknown depth or rows outside the picture.
QImage storedRows(const ImageBuffer& dib, int firstRow, int rows) {
    if (!dib.valid() || rows <= 0 || firstRow < 0 || firstRow + rows > dib.height()) return {};
    const int w = dib.width();
    const uchar* data = dib.storedRow(firstRow);
    QImage image;
    switch (dib.bitCount()) {
        case 1:
            image = QImage(data, w, rows, dib.rowBytes, QImage::Format_Mono);
            break;
        case 8:
            image = QImage(data, w, rows, dib.rowBytes, QImage::Format_Indexed8);
            break;
        case 24:
            return QImage(data, w, rows, dib.rowBytes, QImage::Format_BGR888);
        case 4: {
            image = QImage(w, rows, QImage::Format_Indexed8);
            if (image.isNull()) return {};
            for (int r = 0; r < rows; ++r) {
                const uint8_t* in = dib.storedRow(firstRow + r);
                uchar* out = image.scanLine(r);
                for (int i = 0; i < w; ++i) out[i] = (i & 1) ? in[i >> 1] & 0x0F : in[i >> 1] >> 4;
            }
            break;
        }
        default:
            return {};
    }
    // Qt 6 keeps the pixels shared when only the colour table of a wrapping image changes.
    image.setColorTable(dibColourTable(dib));
    return image;
}

// Draws `image` (stored order) mirrored vertically so that it appears upright in `dest`, taking
// `source` of it (x, width in columns; y, height in the image's own rows).
void drawMirrored(QPainter& painter, const QRectF& dest, const QImage& image,
                  const QRectF& source) {
    painter.save();
    painter.translate(dest.x(), dest.y() + dest.height());
    painter.scale(1, -1);
    painter.drawImage(QRectF(0, 0, dest.width(), dest.height()), image, source);
    painter.restore();
}

}  // namespace

QPainterDibTarget::QPainterDibTarget(QPainter& painter, int displayBitsPerPixel)
    : painter_(painter),
      displayBits_(displayBitsPerPixel > 0 ? displayBitsPerPixel : screenDepth()) {}

bool QPainterDibTarget::paintsOnPrinter(const QPainter& painter) {
    if (const QPaintDevice* device = painter.device())
        if (device->devType() == QInternal::Printer) return true;
    // QPdfWriter does not announce itself through devType(); its engine does.
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

int QPainterDibTarget::screenDepth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

bool QPainterDibTarget::isPrinter() const {
    return paintsOnPrinter(painter_);
}

int QPainterDibTarget::displayBitsPerPixel() const {
    return displayBits_;
}

uint32_t QPainterDibTarget::rasterCaps() const {
    return kRasterCapsDibToDevice;
}

void QPainterDibTarget::setStretchMode(int mode) {
    // Colour-on-colour drops rows and columns without blending: nearest pixel, like the row paths.
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, mode != kStretchColorOnColor);
}

PaletteHandle QPainterDibTarget::selectPalette(const PaletteHandle& palette) {
    PaletteHandle before = selected_;
    selected_ = palette;
    return before;
}

bool QPainterDibTarget::stretchDIBits(const DibRect& dest, const DibRect& source,
                                      const ImageBuffer& image, uint32_t) {
    if (!image.valid() || dest.width <= 0 || dest.height <= 0 || source.width <= 0 ||
        source.height <= 0)
        return false;
    // DrawDib may round a reduced copy's rectangle a pixel past the picture; only the part inside
    // is drawn, at the same scale, and nothing outside is read.
    // Edges in 64 bits and in floating point: a rectangle far off the page must not wrap.
    const int x0 = std::max(source.x, 0);
    const int y0 = std::max(source.y, 0);
    const int x1 =
        static_cast<int>(std::min<int64_t>(int64_t{source.x} + source.width, image.width()));
    const int y1 =
        static_cast<int>(std::min<int64_t>(int64_t{source.y} + source.height, image.height()));
    if (x0 >= x1 || y0 >= y1) return true;
    const double sx = double(dest.width) / source.width;
    const double sy = double(dest.height) / source.height;
    // Stored row y0 is the lowest row drawn, so it sets the bottom edge of the destination.
    const double destBottom = double(dest.y) + dest.height - (double(y0) - source.y) * sy;
    const QRectF to(double(dest.x) + (double(x0) - source.x) * sx, destBottom - (y1 - y0) * sy,
                    (x1 - x0) * sx, (y1 - y0) * sy);

    const QImage rows = storedRows(image, y0, y1 - y0);
    if (rows.isNull()) return false;
    drawMirrored(painter_, to, rows, QRectF(x0, 0, x1 - x0, y1 - y0));
    return true;
}

bool QPainterDibTarget::setDIBitsToDevice(int x, int y, const ImageBuffer& rows) {
    if (!rows.valid()) return false;
    const QImage block = storedRows(rows, 0, rows.height());
    if (block.isNull()) return false;
    // The block is already at destination size: an upright copy blitted plainly beats the
    // mirroring transform, which the raster engine samples pixel by pixel.
    painter_.drawImage(x, y, block.mirrored(false, true));
    return true;
}

std::unique_ptr<DeviceBitmap> QPainterDibTarget::createCompatibleBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<QImageDeviceBitmap>(painter_, width, height);
}

void drawDib(QPainter& painter, int destX, int destY, int destWidth, int destHeight,
             const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight,
             bool halftone, bool useBufferPalette, const PaletteHandle& palette,
             const DrawMessageFn& messages, int displayBitsPerPixel) {
    QPainterDibTarget target(painter, displayBitsPerPixel);
    DrawDib(target, destX, destY, destWidth, destHeight, buffer, srcLeft, srcTop, srcWidth,
            srcHeight, halftone, kSrcCopy, useBufferPalette, palette, messages);
}

}  // namespace pr
