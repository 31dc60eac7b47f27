#pragma once
// Small pictures made in code for the drawing tests: each pixel's colour is set explicitly, so a
// test can say exactly which colour must land where.

#include <QColor>
#include <QImage>
#include <initializer_list>
#include <vector>

#include "core/imaging/ImageBuffer.h"

namespace layouttest {

const QRgb R = qRgb(255, 0, 0), G = qRgb(0, 255, 0), B = qRgb(0, 0, 255), Y = qRgb(255, 255, 0),
           K = qRgb(0, 0, 0), W = qRgb(255, 255, 255), C = qRgb(0, 255, 255), M = qRgb(255, 0, 255);

inline uint32_t bgr(QRgb c) {
    return uint32_t(qBlue(c)) << 16 | uint32_t(qGreen(c)) << 8 | qRed(c);
}

// A 24-bit picture from rows of colours, given top row first as seen.
inline pr::ImageBuffer picture24(const std::vector<std::vector<QRgb>>& rows) {
    pr::ImageBuffer b;
    pr::newdib(b, int(rows[0].size()), int(rows.size()), 24);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            pr::setpixel(b, int(x), int(y), bgr(rows[y][x]));
    return b;
}

// A 1/4/8-bit picture from rows of palette indexes and a colour table.
inline pr::ImageBuffer pictureIndexed(int bits, const std::vector<QRgb>& table,
                                      const std::vector<std::vector<int>>& rows) {
    pr::ImageBuffer b;
    pr::newdib(b, int(rows[0].size()), int(rows.size()), bits);
    for (size_t i = 0; i < table.size(); ++i)
        b.info->colors[i] = {uint8_t(qBlue(table[i])), uint8_t(qGreen(table[i])),
                             uint8_t(qRed(table[i])), 0};
    pr::syncPalette(b);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            pr::setpixel(b, int(x), int(y), uint32_t(rows[y][x]));
    return b;
}

inline QImage canvas(int w, int h, QRgb fill = qRgb(255, 255, 255)) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

inline QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

}  // namespace layouttest
