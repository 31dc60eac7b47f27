#include "render/DibToQImage.h"

#include <cstring>

namespace pr {

QImage dibToQImage(const ImageBuffer& dib) {
    if (!dib.valid() || dib.width() <= 0 || dib.height() <= 0) return {};
    const int w = dib.width();
    const int h = dib.height();

    QImage::Format format;
    size_t copyBytes = 0;
    switch (dib.bitCount()) {
        case 1:
            format = QImage::Format_Mono;
            copyBytes = (static_cast<size_t>(w) + 7) / 8;
            break;
        case 4:
        case 8:
            format = QImage::Format_Indexed8;
            copyBytes = static_cast<size_t>(w);
            break;
        case 24:
            format = QImage::Format_BGR888;
            copyBytes = static_cast<size_t>(w) * 3;
            break;
        default:
            return {};
    }
    QImage image(w, h, format);
    if (image.isNull()) return {};
    if (dib.bitCount() <= 8) image.setColorTable(dibColourTable(dib));

    for (int y = 0; y < h; ++y) {
        const uint8_t* src = dib.rowFromTop(y);
        uchar* dst = image.scanLine(y);
        if (dib.bitCount() != 4) {
            std::memcpy(dst, src, copyBytes);
            continue;
        }
        const int pairs = w / 2;
        for (int i = 0; i < pairs; ++i) {
            dst[2 * i] = src[i] >> 4;
            dst[2 * i + 1] = src[i] & 0x0F;
        }
        if (w & 1) dst[w - 1] = src[pairs] >> 4;
    }
    return image;
}

QList<QRgb> dibColourTable(const ImageBuffer& dib) {
    QList<QRgb> table(dib.tableSize());
    for (int i = 0; i < table.size(); ++i) {
        const RgbQuad& c = dib.info->colors[i];
        table[i] = qRgb(c.red, c.green, c.blue);
    }
    return table;
}

}  // namespace pr
