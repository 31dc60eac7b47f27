#pragma once
// Grid alignment works in millimetres from the page origin: a snapped position or size is a whole
// multiple of the grid spacing. Only dropping from the strip and interactive moves and resizes
// snap; arrangement, "A&lle übernehmen", double-click adding and the position dialog do not.

namespace pr {

// With useGrid: n x gridMm / MmPerInch, n the integer nearest to inches x MmPerInch / gridMm
// (halves to even). Without it, or with a spacing that is not positive, `inches` unchanged.
double SnapToGrid(double inches, bool useGrid, double gridMm);

}  // namespace pr
