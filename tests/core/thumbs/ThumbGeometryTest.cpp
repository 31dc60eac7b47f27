#include <gtest/gtest.h>

#include <vector>

#include "browse/ThumbGridGeometry.h"

using namespace pr;

TEST(ThumbGrid, ColumnsAndHeight) {
    EXPECT_EQ(thumbGridColumns(0), 1);
    EXPECT_EQ(thumbGridColumns(89), 1);
    EXPECT_EQ(thumbGridColumns(179), 1);
    EXPECT_EQ(thumbGridColumns(180), 2);
    EXPECT_EQ(thumbGridColumns(905), 10);
    // A spare row below the last full row, also for a full last row.
    EXPECT_EQ(thumbGridHeight(0, 3), 110);
    EXPECT_EQ(thumbGridHeight(2, 3), 110);
    EXPECT_EQ(thumbGridHeight(3, 3), 220);
    EXPECT_EQ(thumbGridHeight(7, 3), 330);
}

struct OffsetCase {
    int tw, th, width, height, mx, my;
};
class ThumbOffsets : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(ThumbOffsets, CentredInTheBox) {
    const OffsetCase c = GetParam();
    const ThumbCellLayout l = thumbCellLayout(5, 3, c.tw, c.th);
    EXPECT_EQ(l.width, c.width);
    EXPECT_EQ(l.height, c.height);
    EXPECT_EQ(l.mx, c.mx);
    EXPECT_EQ(l.my, c.my);
    // Cell 5 of three columns: second column, second row.
    EXPECT_EQ(l.x0, 90);
    EXPECT_EQ(l.y0, 110);
    EXPECT_EQ(l.picture,
              (ThumbRect{95 + c.mx, 115 + c.my, 95 + c.mx + c.width, 115 + c.my + c.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ThumbOffsets,
    ::testing::Values(OffsetCase{80, 40, 80, 40, 0, 20}, OffsetCase{40, 80, 40, 80, 20, 0},
                      OffsetCase{80, 80, 80, 80, 0, 0}, OffsetCase{80, 1, 80, 1, 0, 39},
                      OffsetCase{1, 80, 1, 80, 39, 0}, OffsetCase{79, 80, 79, 80, 0, 0},
                      OffsetCase{0, 0, 0, 0, 40, 40}));

// Inside the frame every pixel is covered exactly once: by the picture or by one of the fills
// (they may overlap each other, as the four rectangles of the grid always did, but never the
// picture).
TEST(ThumbGrid, FillsAndPictureCoverTheInsideOfTheFrame) {
    for (auto [tw, th] : std::vector<std::pair<int, int>>{
             {80, 40}, {40, 80}, {80, 80}, {1, 80}, {80, 1}, {33, 80}}) {
        const ThumbCellLayout l = thumbCellLayout(1, 1, tw, th);
        auto in = [](const ThumbRect& r, int x, int y) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        };
        for (int y = 0; y < 110; ++y)
            for (int x = 0; x < 90; ++x) {
                const bool inside = x >= 3 && x < 87 && y >= 3 && y < 107;
                bool filled = false;
                for (const ThumbRect& f : l.fills) filled = filled || in(f, x, y);
                const bool picture = in(l.picture, x, y);
                ASSERT_FALSE(filled && picture) << tw << "x" << th << " at " << x << "," << y;
                ASSERT_EQ(inside, filled || picture) << tw << "x" << th << " at " << x << "," << y;
            }
    }
}

struct HitCase {
    int x, y, expected;
};
class ThumbHit : public ::testing::TestWithParam<HitCase> {};

// Seven cells in three columns.
TEST_P(ThumbHit, FrameRectanglesEdgesIncluded) {
    const HitCase c = GetParam();
    EXPECT_EQ(thumbCellAt(c.x, c.y, 7, 3), c.expected) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Points, ThumbHit,
    ::testing::Values(HitCase{2, 2, 1}, HitCase{88, 108, 1}, HitCase{45, 55, 1}, HitCase{1, 50, 0},
                      HitCase{50, 1, 0},
                      // the three-pixel gap between cells 1 and 2, and the one below cell 1
                      HitCase{89, 50, 0}, HitCase{90, 50, 0}, HitCase{91, 50, 0},
                      HitCase{92, 50, 2}, HitCase{50, 109, 0}, HitCase{50, 111, 0},
                      HitCase{50, 112, 4}, HitCase{268, 300, 0},
                      // the last cell, the empty places after it, beside the last column
                      HitCase{50, 300, 7}, HitCase{140, 300, 0}, HitCase{275, 50, 0},
                      HitCase{-1, 5, 0}, HitCase{5, -1, 0}));

struct KeyCase {
    int selection;
    ThumbKey key;
    int columns, count, expected;
};
class ThumbKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ThumbKeys, MoveTheSelection) {
    const KeyCase c = GetParam();
    EXPECT_EQ(moveThumbSelection(c.selection, c.key, c.columns, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ThumbKeys,
    ::testing::Values(
        // Cell 5 selected in a folder of three: Left walks back, still outside the grid.
        KeyCase{5, ThumbKey::Left, 3, 3, 4}, KeyCase{5, ThumbKey::Right, 3, 3, 5},
        KeyCase{5, ThumbKey::Up, 3, 3, 2}, KeyCase{5, ThumbKey::Down, 3, 3, 5},
        KeyCase{1, ThumbKey::Up, 3, 7, 1}, KeyCase{1, ThumbKey::Left, 3, 7, 1},
        KeyCase{3, ThumbKey::Up, 3, 7, 3}, KeyCase{4, ThumbKey::Up, 3, 7, 1},
        KeyCase{4, ThumbKey::Down, 3, 7, 7}, KeyCase{5, ThumbKey::Down, 3, 7, 5},
        KeyCase{7, ThumbKey::Right, 3, 7, 7}, KeyCase{3, ThumbKey::Right, 3, 7, 4},
        // One column: Up and Down move by one cell.
        KeyCase{2, ThumbKey::Up, 1, 3, 1}, KeyCase{2, ThumbKey::Down, 1, 3, 3},
        KeyCase{1, ThumbKey::Left, 3, 0, 1}));

TEST(ThumbGrid, ScrollIntoView) {
    // Cell 7 of three columns: row 2, frame from 222 to 328.
    EXPECT_EQ(thumbScrollPosition(7, 3, 0, 200), 128);    // below: its bottom at the bottom
    EXPECT_EQ(thumbScrollPosition(7, 3, 300, 200), 222);  // above: its top at the top
    EXPECT_EQ(thumbScrollPosition(7, 3, 150, 200), 150);  // whole: stays
    EXPECT_EQ(thumbScrollPosition(7, 3, 128, 200), 128);  // bottom edge exactly shown
    EXPECT_EQ(thumbScrollPosition(1, 3, 50, 200), 2);
    // One column: cell 3 lies in the third row.
    EXPECT_EQ(thumbScrollPosition(3, 1, 0, 100), 228);
}
