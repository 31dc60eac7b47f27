#include "core/layout/SizeInfo.h"

#include <charconv>
#include <cmath>

#include "core/layout/PageUnits.h"

namespace pr {

std::string formatMm(double mm, char decimalSeparator) {
    // to_chars never looks at the C locale, which a Qt program has set to the user's.
    char buffer[64];
    std::to_chars_result r;
    if (std::isfinite(mm) && std::fabs(mm) >= 1e15)
        r = std::to_chars(buffer, buffer + sizeof buffer, mm, std::chars_format::scientific, 14);
    else
        r = std::to_chars(buffer, buffer + sizeof buffer, mm, std::chars_format::fixed, 2);
    std::string s(buffer, r.ptr);
    if (s == "-0.00") s = "0.00";  // a hair left of the origin is still 0 for the reader
    for (char& c : s)
        if (c == '.') c = decimalSeparator;
    return s;
}

std::string sizeInfoText(const Placement& p, char sep) {
    return "( x: " + formatMm(inchesToMm(p.Left), sep) +
           "mm; y: " + formatMm(inchesToMm(p.Top), sep) +
           "mm ) ( Breite: " + formatMm(inchesToMm(p.Width), sep) +
           "mm; Höhe: " + formatMm(inchesToMm(p.Height), sep) + "mm ) ";
}

}  // namespace pr
