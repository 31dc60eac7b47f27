#pragma once
// The page as the selected printer defines it, its size on screen, the grid dots, and the limits
// of the zoom and page controls. The window fills a PrinterPage from its printer at every use and
// never caches it, so a change of printer, paper or orientation shows at the next repaint while
// the placements keep their inches.

#include <vector>

namespace pr {

struct PrinterPage {
    int printableWidthPx = 0;  // printable area in printer pixels
    int printableHeightPx = 0;
    int ppiX = 0;  // horizontal resolution; the page editor and printing use it for both axes
    int ppiY = 0;  // vertical resolution; only the print preview reads it
};

struct PixelSize {
    int w = 0, h = 0;
    bool operator==(const PixelSize& o) const { return w == o.w && h == o.h; }
};

// Control ranges; values outside them cannot be entered.
constexpr int kZoomMin = 10, kZoomMax = 9000, kZoomStep = 10, kZoomDefault = 25;
constexpr int kPageMin = 1, kPageMax = 1000;
constexpr double kGridMmMin = 0.01, kGridMmMax = 100, kGridMmDefault = 5;

// Printable size in inches: both dimensions divided by the horizontal resolution (0 without one).
double pageWidthInches(const PrinterPage& page);
double pageHeightInches(const PrinterPage& page);
double pageWidthMm(const PrinterPage& page);
double pageHeightMm(const PrinterPage& page);

// trunc(zoom x ((screen ppi x printable pixels) / printer ppi) / 100) for each dimension.
PixelSize pageOnScreen(const PrinterPage& page, int zoom, int screenPpi);

// Screen positions of the grid dots along one axis: for i = 0 .. trunc(pageMm / gridMm)
// inclusive, trunc(zoom x (gridMm x i / MmPerInch x screen ppi) / 100). Dots go at every pairing
// of a column and a row position. Empty for a spacing that is not positive.
std::vector<int> gridDotPositions(double pageMm, double gridMm, int zoom, int screenPpi);

// A current page above the page count is pulled down to it.
int clampCurrentPage(int currentPage, int pageCount);

// Which scroll box the mouse wheel moves, from the visible main tab and the inner tab of the
// tab concerned. The wheel never zooms; it scrolls by the desktop's lines per notch.
enum class WheelTarget { None, ThumbnailBrowser, Page, PrintPreview };
WheelTarget wheelTarget(int mainTab, int addPicturesInnerTab, int layoutInnerTab);

}  // namespace pr
