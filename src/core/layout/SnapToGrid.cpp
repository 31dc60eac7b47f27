#include "core/layout/SnapToGrid.h"

#include <cmath>

#include "core/layout/PageUnits.h"

namespace pr {

double SnapToGrid(double inches, bool useGrid, double gridMm) {
    // The spacing control cannot go below 0.01 mm; a stored or foreign value of 0 must not turn
    // every coordinate into NaN.
    if (!useGrid || !(gridMm > 0) || !std::isfinite(inches)) return inches;
    const long double n = roundHalfEven(inches * MmPerInch / gridMm);
    return static_cast<double>(n * gridMm / MmPerInch);
}

}  // namespace pr
