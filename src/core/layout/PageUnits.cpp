#include "core/layout/PageUnits.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pr {

int truncToInt(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    if (v <= lo) return std::numeric_limits<int>::min();
    if (v >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(v);  // conversion truncates toward zero
}

long double roundHalfEven(long double v) {
    const long double down = std::floor(v);
    const long double frac = v - down;
    if (frac > 0.5L) return down + 1;
    if (frac < 0.5L) return down;
    return std::fmod(down, 2.0L) == 0 ? down : down + 1;
}

int inchesToScreen(double inches, int zoom, int screenPpi) {
    return truncToInt(zoom * (static_cast<long double>(screenPpi) * inches) / 100);
}

double screenToInches(double pixels, int zoom, int screenPpi) {
    if (zoom <= 0 || screenPpi <= 0) return 0;
    return static_cast<double>(static_cast<long double>(pixels) * 100 / zoom / screenPpi);
}

int inchesToPrinter(double inches, int printerPpi) {
    return truncToInt(static_cast<long double>(printerPpi) * inches);
}

int captionFontHeight(double points, int zoom, int screenPpi) {
    const int h = truncToInt(zoom * (static_cast<long double>(screenPpi) * points) / 100 / 72);
    return h == 0 ? 1 : h;
}

PixelRect frameOnScreen(double left, double top, double width, double height, int zoom,
                        int screenPpi) {
    return {inchesToScreen(left, zoom, screenPpi), inchesToScreen(top, zoom, screenPpi),
            inchesToScreen(width, zoom, screenPpi), inchesToScreen(height, zoom, screenPpi)};
}

PixelRect frameOnPrinter(double left, double top, double width, double height, int printerPpi) {
    return {inchesToPrinter(left, printerPpi), inchesToPrinter(top, printerPpi),
            inchesToPrinter(width, printerPpi), inchesToPrinter(height, printerPpi)};
}

PixelRect frameNearPage(double left, double top, double width, double height, int zoom,
                        int screenPpi, int pageWidth, int pageHeight) {
    // trunc(zoom x (ppi x inches) / 100) as inchesToScreen forms it, before any saturation.
    const auto pixels = [&](double inches) {
        if (zoom <= 0 || screenPpi <= 0 || std::isnan(inches)) return 0.0L;
        return std::trunc(zoom * (static_cast<long double>(screenPpi) * inches) / 100);
    };
    const auto span = [](long double start, long double length, int page, int& outStart,
                         int& outLength) {
        const long double extent = std::max(page, 1);
        const long double first = std::clamp(start, -extent, 2 * extent);
        const long double end = std::clamp(start + length, -extent, 2 * extent);
        outStart = static_cast<int>(first);
        outLength = static_cast<int>(end - first);
    };
    PixelRect r;
    span(pixels(left), pixels(width), pageWidth, r.x, r.w);
    span(pixels(top), pixels(height), pageHeight, r.y, r.h);
    return r;
}

}  // namespace pr
