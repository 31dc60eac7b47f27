#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "core/layout/PageGeometry.h"
#include "core/layout/PageUnits.h"
#include "core/layout/SelectionHandles.h"
#include "core/layout/SnapToGrid.h"
#include "core/layout/StripGeometry.h"

using namespace pr;

namespace {

TEST(PageUnits, InchesToScreenTruncates) {
    const struct {
        double inches;
        int zoom, ppi, expected;
    } cases[] = {{0.999, 100, 96, 95},
                 {1.001, 100, 96, 96},
                 {8.0, 25, 96, 192},
                 {-0.999, 100, 96, -95},  // toward zero
                 {1.0, 9000, 96, 8640},
                 {1e300, 100, 96, INT_MAX},
                 {-1e300, 100, 96, INT_MIN},  // saturates
                 {std::numeric_limits<double>::quiet_NaN(), 100, 96, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(inchesToScreen(c.inches, c.zoom, c.ppi), c.expected) << c.inches << " " << c.zoom;
}

TEST(PageUnits, EdgesOfAFrameAreTruncatedSeparately) {
    const PixelRect r = frameOnScreen(0.999, 0.5, 1.001, 2.0, 100, 96);
    EXPECT_EQ(r.x, 95);
    EXPECT_EQ(r.x + r.w, 191);  // not trunc((0.999 + 1.001) x 96) = 192
    EXPECT_EQ(frameOnPrinter(0.999, 0.5, 1.001, 2.0, 600), (PixelRect{599, 300, 600, 1200}));
}

// A frame stays within a page's width or height to each side of the page, so the sums of its
// edges can never overflow; frames within that range are frameOnScreen's. At 10 pixels per inch
// an inch is ten pixels; the page is 100 x 150.
TEST(PageUnits, FramesAreKeptNearThePage) {
    const struct {
        double left, top, width, height;
        PixelRect kept;
    } cases[] = {
        {1, 2, 3, 4, {10, 20, 30, 40}},                          // on the page
        {-9, -15, 28, 44, {-90, -150, 280, 440}},                // within a page of it
        {-5, 2, -3, 4, {-50, 20, -30, 40}},                      // negative sizes stay
        {1e300, -1e300, 1e300, 1e300, {200, -150, 0, 150}},      // beyond, above
        {-1e300, -1e300, 2e300, 2e300, {-100, -150, 300, 450}},  // covering the page
        {-100, 0.55, 250, 1e300, {-100, 5, 300, 295}},
    };
    for (const auto& c : cases) {
        const PixelRect kept = frameNearPage(c.left, c.top, c.width, c.height, 100, 10, 100, 150);
        EXPECT_EQ(kept, c.kept) << c.left << "," << c.top << " " << c.width << " x " << c.height;
        if (std::abs(c.left) < 1e6 && std::abs(c.width) < 1e6 && kept.w == int(c.width * 10)) {
            EXPECT_EQ(kept.x, frameOnScreen(c.left, c.top, c.width, c.height, 100, 10).x);
        }
    }
}

TEST(PageUnits, ConversionsBackAndForth) {
    EXPECT_DOUBLE_EQ(inchesToMm(1.0), 25.39995);
    EXPECT_DOUBLE_EQ(mmToInches(25.39995), 1.0);
    EXPECT_NEAR(mmToInches(130), 5.1181, 1e-4);
    EXPECT_DOUBLE_EQ(screenToInches(96, 100, 96), 1.0);
    EXPECT_DOUBLE_EQ(screenToInches(24, 25, 96), 1.0);
    EXPECT_EQ(screenToInches(24, 0, 96), 0.0);  // no division by zero
    EXPECT_EQ(screenToInches(24, 25, 0), 0.0);
    EXPECT_EQ(inchesToPrinter(2.5, 600), 1500);
}

TEST(PageUnits, CaptionFontHeightScalesWithZoomAndNeverVanishes) {
    const struct {
        double points;
        int zoom, ppi, expected;
    } cases[] = {{7, 10, 96, 1} /* 0.93 -> 0 -> 1 */,
                 {10, 10, 96, 1},
                 {11, 100, 96, 14},
                 {11, 25, 96, 3},
                 {11, 400, 96, 58}};
    for (const auto& c : cases)
        EXPECT_EQ(captionFontHeight(c.points, c.zoom, c.ppi), c.expected)
            << c.points << " " << c.zoom;
}

// Snapping relies on this for coordinates halfway between two grid steps.
TEST(PageUnits, RoundHalfEven) {
    const std::pair<long double, long double> cases[] = {{0.5L, 0},    {1.5L, 2},   {2.5L, 2},
                                                         {-0.5L, 0},   {-1.5L, -2}, {-2.5L, -2},
                                                         {2.4999L, 2}, {2.5001L, 3}};
    for (const auto& [in, out] : cases) EXPECT_EQ(roundHalfEven(in), out) << double(in);
}

TEST(PageUnits, SnapToGridSnapsToMultiplesOfTheSpacing) {
    const struct {
        double mm;  // in millimetres for readability
        bool useGrid;
        double gridMm, expectedMm;
    } cases[] = {{12.4, true, 5, 10},    {12.6, true, 5, 15},    {-3.0, true, 5, -5},
                 {0.004, true, 0.01, 0}, {12.4, false, 5, 12.4},  // grid off: unchanged
                 {12.4, true, 0, 12.4}};                          // no spacing: unchanged, not NaN
    for (const auto& c : cases)
        EXPECT_NEAR(SnapToGrid(double(c.mm / MmPerInch), c.useGrid, c.gridMm),
                    double(c.expectedMm / MmPerInch), 1e-12)
            << c.mm;
}

TEST(PageGeometry, PageSizeFromPrintablePixelsAndHorizontalResolution) {
    const struct {
        PrinterPage page;
        int zoom, screenPpi;
        double widthIn, heightIn;
        PixelSize screen;
    } cases[] = {{{4800, 6300, 600, 600}, 25, 96, 8, 10.5, {192, 252}},
                 {{4800, 6600, 600, 1200}, 100, 96, 8, 11, {768, 1056}},  // the vertical resolution
                                                                          // is never used
                 {{6600, 4800, 600, 600}, 25, 96, 11, 8, {264, 192}},     // landscape
                 {{4961, 7016, 600, 600}, 10, 120, 4961.0 / 600, 7016.0 / 600, {99, 140}},
                 {{4800, 6600, 0, 0}, 25, 96, 0, 0, {0, 0}}};  // no printer
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page.printableWidthPx);
        EXPECT_DOUBLE_EQ(pageWidthInches(c.page), c.widthIn);
        EXPECT_DOUBLE_EQ(pageHeightInches(c.page), c.heightIn);
        EXPECT_EQ(pageOnScreen(c.page, c.zoom, c.screenPpi), c.screen);
    }
}

TEST(PageGeometry, GridDotsIncludeBothEnds) {
    // 10 mm page, 5 mm grid: dots at 0, 5, 10 mm.
    EXPECT_EQ(gridDotPositions(10.0, 5, 100, 96), (std::vector<int>{0, 18, 37}));
    EXPECT_EQ(gridDotPositions(9.99, 5, 100, 96), (std::vector<int>{0, 18}));
    EXPECT_EQ(gridDotPositions(203.1996, 5, 25, 96).size(), 41u);  // 8-inch page, trunc(40.6)+1
    EXPECT_TRUE(gridDotPositions(10.0, 0, 100, 96).empty());
    const PrinterPage letter{4800, 6300, 600, 600};
    EXPECT_NEAR(pageWidthMm(letter), 8 * 25.39995, 1e-9);
    EXPECT_NEAR(pageHeightMm(letter), 10.5 * 25.39995, 1e-9);
}

TEST(PageGeometry, CurrentPageFollowsALowerPageCount) {
    EXPECT_EQ(clampCurrentPage(3, 1), 1);
    EXPECT_EQ(clampCurrentPage(1, 3), 1);
}

TEST(PageGeometry, WheelScrollsTheBoxInView) {
    EXPECT_EQ(wheelTarget(0, 1, 0), WheelTarget::ThumbnailBrowser);
    EXPECT_EQ(wheelTarget(0, 0, 0), WheelTarget::None);
    EXPECT_EQ(wheelTarget(1, 1, 0), WheelTarget::None);
    EXPECT_EQ(wheelTarget(2, 0, 0), WheelTarget::Page);
    EXPECT_EQ(wheelTarget(2, 0, 1), WheelTarget::None);
    EXPECT_EQ(wheelTarget(3, 0, 5), WheelTarget::PrintPreview);
}

TEST(StripGeometry, CellsAndThumbnails) {
    EXPECT_EQ(stripHeight(120, 0), 1);
    EXPECT_EQ(stripHeight(120, 3), 366);
    // s = 100: cells at 0, 102, 204, ... A cell whose bottom is at the scroll position is hidden;
    // one whose top is exactly at the visible bottom is still drawn.
    EXPECT_FALSE(stripCellVisible(0, 100, 300, 100));
    EXPECT_TRUE(stripCellVisible(0, 100, 300, 99));
    EXPECT_TRUE(stripCellVisible(4, 100, 300, 108));
    EXPECT_FALSE(stripCellVisible(4, 100, 300, 107));
    EXPECT_EQ(stripThumbnailRect(0, 100, 400, 300), (PixelRect{3, 15, 96, 72}));
    EXPECT_EQ(stripThumbnailRect(1, 100, 300, 400), (PixelRect{15, 105, 72, 96}));
    EXPECT_EQ(stripThumbnailRect(0, 100, 0, 300), PixelRect{});
    EXPECT_EQ(stripThumbnailRect(0, 3, 40, 30), PixelRect{});
}

TEST(SelectionHandles, EightPointsInHitTestOrder) {
    const auto h = selectionHandles(10, 20, 7, 5);
    const std::array<HandlePoint, 8> expected{
        {{10, 20}, {17, 20}, {10, 25}, {17, 25}, {13, 20}, {13, 25}, {10, 22}, {17, 22}}};
    EXPECT_EQ(h, expected);
}

}  // namespace
