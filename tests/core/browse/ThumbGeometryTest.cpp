#include <gtest/gtest.h>

#include <vector>

#include "core/browse/ThumbGridGeometry.h"

using namespace pr;

TEST(ThumbGrid, ColumnsHeightAndOffsets) {
    for (auto [width, columns] : {std::pair{0, 1}, {89, 1}, {179, 1}, {180, 2}, {905, 10}})
        EXPECT_EQ(thumbGridColumns(width), columns) << width;
    // A spare row below the last full row, also for a full last row.
    for (auto [cells, height] : {std::pair{0, 110}, {2, 110}, {3, 220}, {7, 330}})
        EXPECT_EQ(thumbGridHeight(cells, 3), height) << cells;

    // Thumbnails centred in the box; cell 5 of three columns is in the second column and row.
    const int offsets[][4] = {{80, 40, 0, 20}, {40, 80, 20, 0}, {80, 80, 0, 0}, {80, 1, 0, 39},
                              {1, 80, 39, 0},  {79, 80, 0, 0},  {0, 0, 40, 40}};
    for (const auto& [tw, th, mx, my] : offsets) {
        const ThumbCellLayout l = thumbCellLayout(5, 3, tw, th);
        EXPECT_EQ(std::vector<int>({l.width, l.height, l.mx, l.my, l.x0, l.y0}),
                  std::vector<int>({tw, th, mx, my, 90, 110}))
            << tw << "x" << th;
        EXPECT_EQ(l.picture, (ThumbRect{95 + mx, 115 + my, 95 + mx + tw, 115 + my + th}))
            << tw << "x" << th;
    }
}

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

TEST(ThumbGrid, HitsFrameRectanglesEdgesIncludedAndKeysMoveTheSelection) {
    // Seven cells in three columns: x, y -> cell.
    const int hits[][3] = {{2, 2, 1},
                           {88, 108, 1},
                           {45, 55, 1},
                           {1, 50, 0},
                           {50, 1, 0},
                           // the three-pixel gap between cells 1 and 2, and the one below cell 1
                           {89, 50, 0},
                           {90, 50, 0},
                           {91, 50, 0},
                           {92, 50, 2},
                           {50, 109, 0},
                           {50, 111, 0},
                           {50, 112, 4},
                           {268, 300, 0},
                           // the last cell, the empty places after it, beside the last column
                           {50, 300, 7},
                           {140, 300, 0},
                           {275, 50, 0},
                           {-1, 5, 0},
                           {5, -1, 0}};
    for (const auto& [x, y, cell] : hits) EXPECT_EQ(thumbCellAt(x, y, 7, 3), cell) << x << "," << y;

    const struct {
        int selection;
        ThumbKey key;
        int columns, count, expected;
    } moves[] = {// Cell 5 selected in a folder of three: Left walks back, still outside the grid.
                 {5, ThumbKey::Left, 3, 3, 4},
                 {5, ThumbKey::Right, 3, 3, 5},
                 {5, ThumbKey::Up, 3, 3, 2},
                 {5, ThumbKey::Down, 3, 3, 5},
                 {1, ThumbKey::Up, 3, 7, 1},
                 {1, ThumbKey::Left, 3, 7, 1},
                 {3, ThumbKey::Up, 3, 7, 3},
                 {4, ThumbKey::Up, 3, 7, 1},
                 {4, ThumbKey::Down, 3, 7, 7},
                 {5, ThumbKey::Down, 3, 7, 5},
                 {7, ThumbKey::Right, 3, 7, 7},
                 {3, ThumbKey::Right, 3, 7, 4},
                 // One column: Up and Down move by one cell.
                 {2, ThumbKey::Up, 1, 3, 1},
                 {2, ThumbKey::Down, 1, 3, 3},
                 {1, ThumbKey::Left, 3, 0, 1}};
    for (const auto& m : moves)
        EXPECT_EQ(moveThumbSelection(m.selection, m.key, m.columns, m.count), m.expected)
            << m.selection << " key " << int(m.key) << " in " << m.count;
}

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
