#pragma once
// Moving and resizing the selected placement with the mouse, in screen pixels of the page view.
//
// A press finds what lies under the mouse (setdragmod): one of the eight handles of the selection
// frame, its body, or nothing. Each later mouse position is applied to the placement (dragit):
// the grabbed handle follows the mouse, a handle pulled across the opposite edge turns into its
// mirror so the frame turns over instead of getting a negative size, at least one pixel of the
// frame stays on the page, and the result is snapped to the grid. A move keeps the size exactly.

#include "core/album/Placement.h"
#include "core/layout/PageUnits.h"

namespace pr {

// 0: nothing under the mouse; 1..4 the corners top-left, top-right, bottom-left, bottom-right;
// 5..8 the edge middles top, bottom, left, right; 9 the body (move). The number is also the
// cursor slot of the mode, except that mode 0 shows slot 10 (the arrow).
enum DragModes : int {
    kDragNone = 0,
    kDragTopLeft = 1,
    kDragTopRight = 2,
    kDragBottomLeft = 3,
    kDragBottomRight = 4,
    kDragTop = 5,
    kDragBottom = 6,
    kDragLeft = 7,
    kDragRight = 8,
    kDragMove = 9,
};

struct DragState {
    int mode = kDragNone;
    // Distance from the grabbed handle point (or the top-left corner for a move) to the press;
    // 0 along the axis that an edge-middle handle does not move.
    int grabX = 0, grabY = 0;
    bool operator==(const DragState& o) const {
        return mode == o.mode && grabX == o.grabX && grabY == o.grabY;
    }
};

inline int dragCursorSlot(int mode) {
    return mode >= kDragTopLeft && mode <= kDragMove ? mode : 10;
}

// What a press at (x, y) grabs of `frame` (the selected placement on screen); pass no frame when
// nothing is selected. Handles are 7 x 7 squares tested in mode order, so on a small frame corners
// win over edge middles and edge middles over the body; the body includes its right and bottom
// edge.
DragState setdragmod(const PixelRect* frame, int x, int y);

// Horizontal and vertical mirror of a handle (modes without a mirror stay).
int mirrorHorizontally(int mode);
int mirrorVertically(int mode);

// One mouse position applied to a frame in pixels: the mode table, mirroring (horizontal first,
// then vertical, each updating state.mode) and keeping part of the frame on a page of
// pageW x pageH pixels. No snapping here.
PixelRect dragFrame(PixelRect frame, DragState& state, int x, int y, int pageW, int pageH);

struct DragView {
    int zoom = 100;  // percent
    int ppi = 96;    // screen pixels per inch
    int pageW = 0;   // the page view in pixels
    int pageH = 0;
    bool useGrid = false;
    double gridMm = 5;
};

// dragit: the placement's frame on screen, dragFrame, then back to inches with every value
// snapped; a move then restores the exact width and height. Mode 0 leaves the placement alone.
void dragit(Placement& placement, DragState& state, int x, int y, const DragView& view);

}  // namespace pr
