#include "render/SrgbDeclaration.h"

#include <QColorSpace>
#include <QImage>

namespace pr {

void declareSrgb(QImage& image) {
    image.setColorSpace(QColorSpace::SRgb);
}

}  // namespace pr
