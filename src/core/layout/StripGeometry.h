#pragma once
// Geometry of the picture strip: one square cell per album picture, one under the other. Cell i
// starts at i x (s + 2), s being the client width of the strip's scroll box.

#include "core/layout/PageUnits.h"

namespace pr {

constexpr int kStripScrollStep = 150;

// (outer width of the scroll box + 2) x pictures, or 1 for an empty album. The outer width counts
// border and scroll bar, so the strip is a little taller than its cells need.
int stripHeight(int scrollBoxOuterWidth, int pictureCount);

inline int stripCellTop(int index, int clientWidth) {
    return index * (clientWidth + 2);
}

// The cell that a press at `y` hits: the first i < count with i x (w + 2) + 1 <= y <=
// i x (w + 2) + w + 1, w being the strip's width; -1 in the 2-pixel gap between cells, above the
// first or below the last.
int stripCellAt(int y, int width, int count);

// Whether cell `index` overlaps the visible band [scrollPos, scrollPos + clientHeight].
bool stripCellVisible(int index, int clientWidth, int clientHeight, int scrollPos);

// Where the thumbnail of an iw x ih picture goes in cell `index`: the largest size that fits a
// square of s - 4 pixels, centred (plus one pixel). Empty for a picture without area.
PixelRect stripThumbnailRect(int index, int clientWidth, int iw, int ih);

}  // namespace pr
