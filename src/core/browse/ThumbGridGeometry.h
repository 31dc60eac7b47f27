#pragma once
// Where things lie in the thumbnail grid, in pixels of the grid's paint area. Painting,
// hit-testing, the arrow keys and scrolling all take their numbers from here, so the column count
// can never disagree between them.
//
// Cells are counted from 1, as the selection is. A selection above the cell count means "no cell
// selected"; it is kept as it is, so the same cell number lights up again once a later folder has
// that many cells.

namespace pr {

constexpr int kThumbCellWidth = 90;
constexpr int kThumbCellHeight = 110;
constexpr int kThumbBoxSide = 80;     // the thumbnail's box, 5 pixels in from the cell's corner
constexpr int kThumbScrollStep = 20;  // pixels a wheel notch scrolls the grid

// Edges of a rectangle. Frames are inclusive of right and bottom; fills and the caption are not
// (as a painter's fill of left..right-1 would be).
struct ThumbRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ThumbRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct ThumbCellLayout {
    int x0 = 0, y0 = 0;         // the cell's origin
    int mx = 0, my = 0;         // offsets of the thumbnail in its box
    int width = 0, height = 0;  // display size of the thumbnail
    ThumbRect frame;            // (x0+2, y0+2)..(x0+88, y0+108), edges included
    ThumbRect picture;          // where the thumbnail is drawn, right and bottom excluded
    ThumbRect fills[4];         // left, top, bottom, right: the rest of the area inside the frame
    ThumbRect caption;          // the file name, clipped to it
};

// Columns for a paint area of this width: width div 90, at least 1.
int thumbGridColumns(int paintWidth);

// Height of the paint area: a spare row beyond the last full one, as the grid always had.
int thumbGridHeight(int cellCount, int columns);

// Display size for a thumbnail: the longer side 80, the other scaled with truncation. A thumbnail
// without a side gives 0 x 0 (nothing is drawn).
void thumbDisplaySize(int thumbWidth, int thumbHeight, int& width, int& height);

ThumbCellLayout thumbCellLayout(int cell, int columns, int thumbWidth, int thumbHeight);

// The cell whose frame contains (x, y), edges included; 0 for a point in a gap, beside the last
// column or past the last cell.
int thumbCellAt(int x, int y, int cellCount, int columns);

enum class ThumbKey { Up, Down, Left, Right };

// The selection after an arrow key. Up and Left only need a result above 0, so a selection
// beyond the cells can walk back into them; Down and Right never leave the cells.
int moveThumbSelection(int selection, ThumbKey key, int columns, int cellCount);

// The vertical scroll position that shows the selected cell's frame, scrolling as little as
// possible: to its top when it lies above, to its bottom when it lies below, else unchanged.
int thumbScrollPosition(int selection, int columns, int scrollPos, int clientHeight);

}  // namespace pr
