#pragma once
// Cut marks for trimming prints: at each corner of a frame, two short lines that continue its
// edges outward, starting a gap away from the corner, so the knife can be laid along them without
// a mark showing on the print.

#include <array>

namespace pr {

struct MarkLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // inches
};

constexpr double kCutMarkGapMm = 3;
constexpr double kCutMarkLengthMm = 5;

// The eight lines around a frame (all inches): per corner one along the horizontal edge and one
// along the vertical edge, from `gapMm` to `gapMm` + `lengthMm` outside the corner.
std::array<MarkLine, 8> cutMarkLines(double left, double top, double width, double height,
                                     double gapMm = kCutMarkGapMm,
                                     double lengthMm = kCutMarkLengthMm);

}  // namespace pr
