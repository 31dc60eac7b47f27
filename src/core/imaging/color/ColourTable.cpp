#include "core/imaging/color/ColourTable.h"

#include <algorithm>

namespace pr {

void convertColourTable(const SrgbTransform& transform, RgbQuad* colours, int count) {
    const PixelLayout layout = transform.layout();
    if (!transform.converts() || (layout != PixelLayout::Grey && layout != PixelLayout::Rgb))
        return;
    count = std::clamp(count, 0, 256);
    uint8_t in[256 * 3] = {}, out[256 * 3] = {};
    const int step = bytesPerPixel(layout);
    for (int i = 0; i < count; ++i) {
        in[i * step] = colours[i].red;
        if (step == 3) in[i * 3 + 1] = colours[i].green, in[i * 3 + 2] = colours[i].blue;
    }
    transform.toBgr(in, out, count);
    for (int i = 0; i < count; ++i)
        colours[i] = RgbQuad{out[i * 3], out[i * 3 + 1], out[i * 3 + 2], colours[i].reserved};
}

}  // namespace pr
