#include "core/layout/StripGeometry.h"

#include <cstdint>

namespace pr {

int stripHeight(int scrollBoxOuterWidth, int pictureCount) {
    if (pictureCount <= 0) return 1;
    return static_cast<int>(static_cast<int64_t>(scrollBoxOuterWidth + 2) * pictureCount);
}

int stripCellAt(int y, int width, int count) {
    if (y < 1 || count <= 0 || width < 0) return -1;
    const int64_t period = static_cast<int64_t>(width) + 2;
    const int64_t i = (static_cast<int64_t>(y) - 1) / period;
    if (i >= count || y > i * period + width + 1) return -1;
    return static_cast<int>(i);
}

bool stripCellVisible(int index, int clientWidth, int clientHeight, int scrollPos) {
    const int top = stripCellTop(index, clientWidth);
    return !(top > clientHeight + scrollPos || top + clientWidth <= scrollPos);
}

PixelRect stripThumbnailRect(int index, int clientWidth, int iw, int ih) {
    const int s = clientWidth;
    const int box = s - 4;
    if (iw <= 0 || ih <= 0 || box <= 0) return {};
    int64_t w = box;
    int64_t h = static_cast<int64_t>(box) * ih / iw;
    if (h > box) {
        h = box;
        w = static_cast<int64_t>(box) * iw / ih;
    }
    const int top = stripCellTop(index, s);
    return {static_cast<int>((s - w) / 2 + 1), static_cast<int>(top + (s - h) / 2 + 1),
            static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace pr
