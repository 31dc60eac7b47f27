#pragma once
// Page units: everything on a page is inches (doubles) from the top-left corner of the printer's
// printable area. The user reads and types millimetres; screens and printers get whole pixels.
//
// Products are formed in long double: the layout rules were fixed with 80-bit extended arithmetic,
// and on x86-64 long double is exactly that, so truncation lands on the same pixel. Every
// coordinate is converted on its own, so a frame's right edge on screen is trunc(x) + trunc(w),
// not trunc(x + w). Only the horizontal resolution of a device is used, for both axes.
//
// All functions are pure; a zero or negative resolution or zoom gives 0 instead of dividing by
// zero, and results beyond the int range saturate instead of overflowing.

#include <cstdint>

namespace pr {

// Millimetres per inch as the program has always used it; not 25.4. Stored layouts and grid
// positions depend on this exact value.
constexpr long double MmPerInch = 25.39995L;

// Cuts toward zero and saturates to the int range; NaN gives 0.
int truncToInt(long double v);

// Nearest integer, halves to the even one, independent of the FPU rounding mode.
long double roundHalfEven(long double v);

inline double inchesToMm(double inches) {
    return static_cast<double>(inches * MmPerInch);
}
inline double mmToInches(double mm) {
    return static_cast<double>(mm / MmPerInch);
}

// trunc(zoom x (screen ppi x inches) / 100); zoom in percent.
int inchesToScreen(double inches, int zoom, int screenPpi);
// pixels x 100 / zoom / screen ppi.
double screenToInches(double pixels, int zoom, int screenPpi);
// trunc(printer ppi x inches).
int inchesToPrinter(double inches, int printerPpi);

// Character height in pixels of a caption font of `points` at the zoom: trunc(zoom x (ppi x
// points) / 100 / 72); a result of 0 becomes 1 so that small zooms still show a caption.
int captionFontHeight(double points, int zoom, int screenPpi);

struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const PixelRect& o) const {
        return x == o.x && y == o.y && w == o.w && h == o.h;
    }
};

// A placement's frame in device pixels, each of the four values converted separately.
PixelRect frameOnScreen(double left, double top, double width, double height, int zoom,
                        int screenPpi);
PixelRect frameOnPrinter(double left, double top, double width, double height, int printerPpi);

// frameOnScreen kept near a page of pageWidth x pageHeight device pixels: each edge is worked out
// in extended precision and moved into the page's range widened by a page to each side before it
// becomes an int, so x + w and the handles' sums stay far inside int whatever the placement says
// (a damaged album may hold 1e300 inches). Frames within that range are exactly frameOnScreen's;
// one reaching beyond it keeps the part within (nothing beyond would show), and one wholly beyond
// it is empty.
PixelRect frameNearPage(double left, double top, double width, double height, int zoom,
                        int screenPpi, int pageWidth, int pageHeight);

}  // namespace pr
