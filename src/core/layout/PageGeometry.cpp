#include "core/layout/PageGeometry.h"

#include <cmath>

#include "core/layout/PageUnits.h"

namespace pr {

namespace {
long double inches(int pixels, int ppi) {
    return ppi > 0 ? static_cast<long double>(pixels) / ppi : 0.0L;
}

int onScreen(int printerPixels, int printerPpi, int zoom, int screenPpi) {
    if (printerPpi <= 0) return 0;
    return truncToInt(zoom * ((static_cast<long double>(screenPpi) * printerPixels) / printerPpi) /
                      100);
}
}  // namespace

double pageWidthInches(const PrinterPage& p) {
    return static_cast<double>(inches(p.printableWidthPx, p.ppiX));
}
double pageHeightInches(const PrinterPage& p) {
    return static_cast<double>(inches(p.printableHeightPx, p.ppiX));
}
double pageWidthMm(const PrinterPage& p) {
    return static_cast<double>(inches(p.printableWidthPx, p.ppiX) * MmPerInch);
}
double pageHeightMm(const PrinterPage& p) {
    return static_cast<double>(inches(p.printableHeightPx, p.ppiX) * MmPerInch);
}

PixelSize pageOnScreen(const PrinterPage& p, int zoom, int screenPpi) {
    return {onScreen(p.printableWidthPx, p.ppiX, zoom, screenPpi),
            onScreen(p.printableHeightPx, p.ppiX, zoom, screenPpi)};
}

std::vector<int> gridDotPositions(double pageMm, double gridMm, int zoom, int screenPpi) {
    std::vector<int> out;
    if (!(gridMm > 0) || !(pageMm >= 0) || !std::isfinite(pageMm)) return out;
    const int last = truncToInt(static_cast<long double>(pageMm) / gridMm);
    out.reserve(static_cast<std::size_t>(last) + 1);
    for (long long i = 0; i <= last; ++i) {
        out.push_back(truncToInt(
            zoom * (gridMm * static_cast<long double>(i) / MmPerInch * screenPpi) / 100));
    }
    return out;
}

int clampCurrentPage(int currentPage, int pageCount) {
    return currentPage > pageCount ? pageCount : currentPage;
}

WheelTarget wheelTarget(int mainTab, int addPicturesInnerTab, int layoutInnerTab) {
    switch (mainTab) {
        case 0:
            return addPicturesInnerTab == 1 ? WheelTarget::ThumbnailBrowser : WheelTarget::None;
        case 2:
            return layoutInnerTab == 0 ? WheelTarget::Page : WheelTarget::None;
        case 3:
            return WheelTarget::PrintPreview;
        default:
            return WheelTarget::None;
    }
}

}  // namespace pr
