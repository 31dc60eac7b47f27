#pragma once
// The status-bar text of the selected placement while it is edited:
// "( x: 12.70mm; y: 25.40mm ) ( Breite: 130.00mm; Höhe: 100.00mm ) ".

#include <string>

#include "core/album/Placement.h"

namespace pr {

// A millimetre value with exactly two decimals and `decimalSeparator` (the user's); values of
// 1e15 and beyond, which have no room for 15 significant digits, in exponent form.
std::string formatMm(double mm, char decimalSeparator);

// ShowSizeInfo's text for the placement (UTF-8).
std::string sizeInfoText(const Placement& placement, char decimalSeparator);

}  // namespace pr
