#pragma once
// Placing pictures without mouse work: "Automatisch &anordnen..." lays the placements of one page
// out in an even grid of equal cells between a page margin and a spacing; "A&lle übernehmen" puts
// every album picture on a page as a diagonal cascade of frames of the default size. Neither
// snaps to the grid. Both return the indices of the placements whose size they set, so that the
// window can raise those pictures' resolution.

#include <cstdint>
#include <vector>

#include "core/album/Album.h"

namespace pr {

struct GridShape {
    int columns = 0, rows = 0;
    bool operator==(const GridShape& o) const { return columns == o.columns && rows == o.rows; }
};

// Columns trunc(sqrt(n)), rows trunc(n / columns) grown until columns x rows >= n; 0 x 0 for
// n <= 0.
GridShape arrangementGrid(int n);

// Every placement of `page`, in array order, gets the next cell, row by row from the top left;
// sizes and positions in inches, margin and gap in millimetres. Cells may come out zero or
// negative when the margins leave no room; they are stored as computed. Other pages, the array
// order and the selection stay as they are.
std::vector<uint32_t> arrangePage(Album& album, int32_t page, double pageWidthInches,
                                  double pageHeightInches, double marginMm, double gapMm);

// Appends one placement per picture, in album order, on `page`: picture i of m at
// (2/3 x page width x i / m) on both axes, of the default size in millimetres. Stops early when
// the placement array cannot grow. The last new placement is selected.
std::vector<uint32_t> overtakeAll(Album& album, int32_t page, double pageWidthInches,
                                  double widthMm, double heightMm, bool fitCrop);

}  // namespace pr
