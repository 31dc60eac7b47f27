#include "gui/app/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pr {

const int ProgramIcon::kThemeSizes[8] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage ProgramIcon::render(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient warm(16, 16, 240, 240);
    warm.setColorAt(0, QColor(0xf0, 0xc9, 0xa6));
    warm.setColorAt(1, QColor(0xc8, 0x82, 0x50));
    p.setPen(QPen(QColor(0x96, 0x5a, 0x32), 4));
    p.setBrush(warm);
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 36, 36);

    p.translate(128, 128);
    p.rotate(-8);
    p.translate(-128, -128);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(44, 56, 168, 144));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x78, 0xb4, 0xe6));
    p.drawRect(QRectF(58, 70, 140, 100));
    QPainterPath hill(QPointF(58, 170));
    hill.lineTo(58, 140);
    hill.quadTo(98, 104, 138, 136);
    hill.quadTo(168, 118, 198, 138);
    hill.lineTo(198, 170);
    hill.closeSubpath();
    p.setBrush(QColor(0x4c, 0x9a, 0x3c));
    p.drawPath(hill);
    p.setBrush(QColor(0xf5, 0xd2, 0x32));
    p.drawEllipse(QPointF(168, 98), 14, 14);
    return image;
}

QIcon ProgramIcon::icon() {
    QIcon icon;
    for (int size : kThemeSizes) icon.addPixmap(QPixmap::fromImage(render(size)));
    return icon;
}

}  // namespace pr
