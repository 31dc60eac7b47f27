#pragma once
// The device-dependent bitmap of DrawDib's last fallback on a QPainter: a picture-sized QImage
// that the painter draws.

#include <QImage>
#include <QPainter>

#include "core/imaging/DeviceBitmap.h"

namespace pr {

class QImageDeviceBitmap : public DeviceBitmap {
public:
    QImageDeviceBitmap(QPainter& painter, int width, int height)
        : painter_(painter), width_(width), height_(height) {}

    bool setBits(const ImageBuffer& image) override;
    bool stretchBlt(const DibRect& dest, const DibRect& source, uint32_t rop) override;

private:
    QPainter& painter_;
    int width_, height_;
    QImage pixels_;
};

}  // namespace pr
