#include "core/browse/ThumbGridGeometry.h"

namespace pr {

int thumbGridColumns(int paintWidth) {
    const int columns = paintWidth / kThumbCellWidth;
    return columns < 1 ? 1 : columns;
}

int thumbGridHeight(int cellCount, int columns) {
    if (columns < 1) columns = 1;
    if (cellCount < 0) cellCount = 0;
    return (cellCount / columns + 1) * kThumbCellHeight;
}

void thumbDisplaySize(int thumbWidth, int thumbHeight, int& width, int& height) {
    if (thumbWidth <= 0 || thumbHeight <= 0) {
        width = height = 0;
        return;
    }
    width = kThumbBoxSide;
    height = thumbHeight * kThumbBoxSide / thumbWidth;
    if (height > kThumbBoxSide) {
        height = kThumbBoxSide;
        width = thumbWidth * kThumbBoxSide / thumbHeight;
    }
}

ThumbCellLayout thumbCellLayout(int cell, int columns, int thumbWidth, int thumbHeight) {
    if (columns < 1) columns = 1;
    ThumbCellLayout l;
    const int index = cell - 1;
    l.x0 = index % columns * kThumbCellWidth;
    l.y0 = index / columns * kThumbCellHeight;
    thumbDisplaySize(thumbWidth, thumbHeight, l.width, l.height);
    l.mx = (kThumbBoxSide - l.width) / 2;
    l.my = (kThumbBoxSide - l.height) / 2;
    const int x0 = l.x0, y0 = l.y0;
    l.frame = {x0 + 2, y0 + 2, x0 + 88, y0 + 108};
    const int px = x0 + 5 + l.mx, py = y0 + 5 + l.my;
    l.picture = {px, py, px + l.width, py + l.height};
    l.fills[0] = {x0 + 3, y0 + 3, px, y0 + 107};
    l.fills[1] = {x0 + 3, y0 + 3, x0 + 87, py};
    l.fills[2] = {x0 + 3, py + l.height, x0 + 87, y0 + 107};
    l.fills[3] = {px + l.width, y0 + 3, x0 + 87, y0 + 107};
    l.caption = {x0 + 3, y0 + 90, x0 + 87, y0 + 110};
    return l;
}

int thumbCellAt(int x, int y, int cellCount, int columns) {
    if (columns < 1) columns = 1;
    if (x < 0 || y < 0) return 0;
    const int column = x / kThumbCellWidth, row = y / kThumbCellHeight;
    if (column >= columns) return 0;
    const int dx = x % kThumbCellWidth, dy = y % kThumbCellHeight;
    if (dx < 2 || dx > 88 || dy < 2 || dy > 108) return 0;
    const long long cell = static_cast<long long>(row) * columns + column + 1;
    return cell <= cellCount ? static_cast<int>(cell) : 0;
}

int moveThumbSelection(int selection, ThumbKey key, int columns, int cellCount) {
    if (columns < 1) columns = 1;
    switch (key) {
        case ThumbKey::Up:
            return selection - columns > 0 ? selection - columns : selection;
        case ThumbKey::Down:
            return selection + columns <= cellCount ? selection + columns : selection;
        case ThumbKey::Left:
            return selection - 1 > 0 ? selection - 1 : selection;
        case ThumbKey::Right:
            return selection + 1 <= cellCount ? selection + 1 : selection;
    }
    return selection;
}

int thumbScrollPosition(int selection, int columns, int scrollPos, int clientHeight) {
    if (columns < 1) columns = 1;
    if (selection < 1) return scrollPos;
    const int row = (selection - 1) / columns;
    const int top = row * kThumbCellHeight + 2;
    const int bottom = row * kThumbCellHeight + 108;
    if (top < scrollPos) return top;
    if (scrollPos + clientHeight < bottom) return bottom - clientHeight;
    return scrollPos;
}

}  // namespace pr
