#pragma once
// Writes a QImage as an LZW-compressed 24-bit RGB TIFF with its resolution, through libtiff, to
// any open QIODevice (an AtomicFileDevice in practice). Qt's own TIFF support is an optional plugin
// that many systems lack, while libtiff is there anyway for reading TIFF pictures.

#include <QString>

class QIODevice;
class QImage;

namespace pr {

// False with `error` set when libtiff or the device refused; the device may then hold a part.
bool writeTiff(const QImage& image, int dpi, QIODevice& device, QString* error);

}  // namespace pr
