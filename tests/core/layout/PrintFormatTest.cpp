#include <gtest/gtest.h>

#include <cstring>

#include "core/layout/PageUnits.h"
#include "core/layout/PrintFormat.h"

using namespace pr;

namespace {

constexpr double kMm = 25.39995;

const PrintFormat& format(const char* label) {
    for (const PrintFormat& f : printFormats())
        if (std::strcmp(f.label, label) == 0) return f;
    ADD_FAILURE() << label;
    return printFormats().front();
}

TEST(PrintFormat, FrameTakesThePicturesOrientation) {
    const FrameRect landscape = formatFrame(format("10 x 15 cm"), true);
    EXPECT_NEAR(landscape.width * kMm, 150, 1e-9);
    EXPECT_NEAR(landscape.height * kMm, 100, 1e-9);
    const FrameRect portrait = formatFrame(format("Passbild 3,5 x 4,5 cm"), false);
    EXPECT_NEAR(portrait.width * kMm, 35, 1e-9);
    EXPECT_NEAR(portrait.height * kMm, 45, 1e-9);
    EXPECT_EQ(printFormats().size(), 6u);
}

TEST(PrintFormat, ResizeKeepsTheCornerAndPullsBackOntoThePage) {
    struct Case {
        const char* name;
        FrameRect frame;
        double w, h;
        FrameRect want;
    } cases[] = {
        {"fits", {1, 2, 3, 3}, 4, 5, {1, 2, 4, 5}},
        {"runs over the right edge", {6, 2, 1, 1}, 4, 5, {4, 2, 4, 5}},
        {"runs over the bottom", {1, 9, 1, 1}, 4, 5, {1, 5.5, 4, 5}},
        {"larger than the page", {3, 3, 1, 1}, 9, 11, {0, 0, 9, 11}},
        {"left of the page stays", {-1, 0, 1, 1}, 2, 2, {-1, 0, 2, 2}},
    };
    for (const Case& c : cases) {  // page 8 x 10.5 inches
        const FrameRect r = resizedOnPage(c.frame, c.w, c.h, 8, 10.5);
        EXPECT_DOUBLE_EQ(r.left, c.want.left) << c.name;
        EXPECT_DOUBLE_EQ(r.top, c.want.top) << c.name;
        EXPECT_DOUBLE_EQ(r.width, c.want.width) << c.name;
        EXPECT_DOUBLE_EQ(r.height, c.want.height) << c.name;
    }
}

TEST(PrintFormat, FillingAnA4PageWith10x15InRows) {
    // A4's printable area of about 200 x 287 mm, margin 5 mm, spacing 2 mm: 150 x 100 mm frames
    // go one across (150 + 2 + 150 > 190) and two down (a third row would end at 309 mm).
    const double pageW = 200 / kMm, pageH = 287 / kMm;
    const FrameRect original{5 / kMm, 5 / kMm, 150 / kMm, 100 / kMm};
    const auto cells =
        fillPagePositions(original.width, original.height, pageW, pageH, 5, 2, {original});
    ASSERT_EQ(cells.size(), 1u);  // the original holds the first of the two cells
    EXPECT_NEAR(cells[0].left * kMm, 5, 1e-9);
    EXPECT_NEAR(cells[0].top * kMm, 107, 1e-9);

    // Portrait 100 x 150 frames, margin 0 and spacing 0: exactly two across and two down, the
    // second of each fitting to the last hair of the page.
    const auto tight = fillPagePositions(100 / kMm, 143.5 / kMm, pageW, pageH, 0, 0, {});
    EXPECT_EQ(tight.size(), 4u);
}

TEST(PrintFormat, FillingLeavesOutOccupiedCellsAndNonsense) {
    const FrameRect blocker{3.5, 0, 1, 1};
    const auto cells = fillPagePositions(2, 2, 8, 4, 0, 0, {blocker});
    // Cells at x = 0, 2, 4, 6 in two rows; the blocker covers x = 2 and x = 4 of the first row.
    ASSERT_EQ(cells.size(), 6u);
    EXPECT_DOUBLE_EQ(cells[0].left, 0);
    EXPECT_DOUBLE_EQ(cells[1].left, 6);
    EXPECT_DOUBLE_EQ(cells[2].top, 2);
    // Touching the blocker is not overlapping it.
    EXPECT_EQ(fillPagePositions(2.5, 1, 5, 1, 0, 0, {{2.5, 0, 1, 1}}).size(), 1u);
    EXPECT_TRUE(fillPagePositions(0, 2, 8, 4, 0, 0, {}).empty());
    EXPECT_TRUE(fillPagePositions(9, 2, 8, 4, 0, 0, {}).empty());
    EXPECT_EQ(fillPagePositions(0.001, 0.001, 8, 4, 0, 0, {}, 50).size(), 50u);
}

}  // namespace
