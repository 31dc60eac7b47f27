#pragma once
// Turns an ImageBuffer into a QImage that owns a copy of the pixels.
//
// The result keeps the picture's depth where Qt has a matching format, so rows are copied whole:
// 1 bit -> Format_Mono, 8 bit -> Format_Indexed8 (both with the picture's colour table),
// 24 bit -> Format_BGR888 (the DIB's blue-green-red order). Qt has no 4-bit format, so 4-bit rows
// are widened to Format_Indexed8, two pixels per source byte. The result is the right way up
// (the DIB's rows are stored bottom-up). An invalid buffer or an unknown depth gives a null QImage.

#include <QImage>

#include "core/imaging/ImageBuffer.h"

namespace pr {

QImage dibToQImage(const ImageBuffer& dib);

// The picture's colour table as Qt colours (empty for 24-bit pictures).
QList<QRgb> dibColourTable(const ImageBuffer& dib);

}  // namespace pr
