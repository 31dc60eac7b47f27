#include <gtest/gtest.h>

#include "core/layout/PlacementDrag.h"
#include "core/layout/SnapToGrid.h"

using namespace pr;

namespace {

// The frame 100, 100, 50 x 40 on a page of 800 x 1000 pixels, grabbed exactly on its point.
constexpr PixelRect kFrame{100, 100, 50, 40};
constexpr int kPageW = 800, kPageH = 1000;

TEST(DragFrame, EveryModeAcrossTheOppositeEdgeAndKeepingAPixelOnThePage) {
    const struct {
        const char* name;
        int mode, x, y;
        PixelRect expected;
        int modeAfter;
    } cases[] = {
        {"topLeft", 1, 90, 80, {90, 80, 60, 60}, 1},
        {"topRight", 2, 170, 80, {100, 80, 70, 60}, 2},
        {"bottomLeft", 3, 90, 150, {90, 100, 60, 50}, 3},
        {"bottomRight", 4, 170, 150, {100, 100, 70, 50}, 4},
        {"top", 5, 999, 80, {100, 80, 50, 60}, 5},
        {"bottom", 6, 999, 150, {100, 100, 50, 50}, 6},
        {"left", 7, 90, 999, {90, 100, 60, 40}, 7},
        {"right", 8, 170, 999, {100, 100, 70, 40}, 8},
        {"move", 9, 200, 300, {200, 300, 50, 40}, 9},
        {"nothing", 0, 300, 300, kFrame, 0},
        // Across the opposite edge the mode mirrors.
        {"topLeftPastRight", 1, 170, 100, {150, 100, 20, 40}, 2},
        {"topLeftPastBottom", 1, 100, 160, {100, 140, 50, 20}, 3},
        {"topLeftPastBoth", 1, 170, 160, {150, 140, 20, 20}, 4},
        {"topRightPastLeft", 2, 80, 100, {80, 100, 20, 40}, 1},
        {"topRightPastBottom", 2, 150, 160, {100, 140, 50, 20}, 4},
        {"bottomLeftPastRight", 3, 170, 140, {150, 100, 20, 40}, 4},
        {"bottomLeftPastTop", 3, 100, 90, {100, 90, 50, 10}, 1},
        {"bottomRightPastBoth", 4, 80, 90, {80, 90, 20, 10}, 1},
        {"topPastBottom", 5, 0, 150, {100, 140, 50, 10}, 6},
        {"bottomPastTop", 6, 0, 90, {100, 90, 50, 10}, 5},
        {"leftPastRight", 7, 170, 0, {150, 100, 20, 40}, 8},
        {"rightPastLeft", 8, 80, 0, {80, 100, 20, 40}, 7},
        // A pixel of the frame stays on the page.
        {"farLeft", 9, -500, 100, {-49, 100, 50, 40}, 9},
        {"rightEdgeAt2Stays", 9, -48, 100, {-48, 100, 50, 40}, 9},
        {"farUp", 9, 100, -500, {100, -39, 50, 40}, 9},
        {"farRight", 9, 5000, 100, {799, 100, 50, 40}, 9},
        {"farDown", 9, 100, 5000, {100, 999, 50, 40}, 9},
        {"handleFarRight", 8, 5000, 0, {100, 100, 4900, 40}, 8},
        // Both edges past the far side: the kept edges stay on the page.
        {"cornerFarLeftUp", 4, -5000, -5000, {-5000, -5000, 5100, 5100}, 1},
    };
    for (const auto& c : cases) {
        DragState s{c.mode, 0, 0};
        EXPECT_EQ(dragFrame(kFrame, s, c.x, c.y, kPageW, kPageH), c.expected) << c.name;
        EXPECT_EQ(s.mode, c.modeAfter) << c.name;
    }
}

TEST(DragFrame, GrabOffsetIsKeptAndTheMirroredHandleKeepsFollowing) {
    // Pressed 2 px right of and 1 px below the top-left corner.
    DragState s{1, 2, 1};
    PixelRect f = dragFrame(kFrame, s, 92, 81, kPageW, kPageH);
    EXPECT_EQ(f, (PixelRect{90, 80, 60, 60}));
    f = dragFrame(f, s, 182, 81, kPageW, kPageH);  // across the right edge at 150
    EXPECT_EQ(s.mode, 2);
    EXPECT_EQ(f, (PixelRect{150, 80, 30, 60}));
    f = dragFrame(f, s, 212, 81, kPageW, kPageH);  // the right edge now follows
    EXPECT_EQ(f, (PixelRect{150, 80, 60, 60}));
}

TEST(SetDragMod, HandlesInModeOrderThenTheBody) {
    const PixelRect big{10, 10, 20, 20};
    struct Case {
        int x, y;
        DragState expected;
    };
    const Case cases[] = {
        {7, 7, {1, -3, -3}},   {6, 7, {0, 0, 0}},   {33, 13, {2, 3, 3}},   {20, 12, {5, 0, 2}},
        {22, 31, {6, 0, 1}},   {12, 20, {7, 2, 0}}, {28, 18, {8, -2, 0}},  {20, 20, {9, 10, 10}},
        {30, 25, {9, 20, 15}}, {31, 25, {0, 0, 0}}, {25, 30, {9, 15, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(setdragmod(&big, c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_EQ(setdragmod(nullptr, 10, 10), DragState{});
}

TEST(SetDragMod, OnATinyFrameCornersWinOverEdgesAndEdgesOverTheBody) {
    const PixelRect tiny{10, 10, 4, 4};  // all eight squares overlap
    EXPECT_EQ(setdragmod(&tiny, 12, 12), (DragState{1, 2, 2}));
    EXPECT_EQ(setdragmod(&tiny, 12, 10), (DragState{1, 2, 0}));  // not the top middle
    EXPECT_EQ(setdragmod(&tiny, 12, 14), (DragState{3, 2, 0}));  // not the bottom middle
    EXPECT_EQ(setdragmod(&tiny, 14, 14), (DragState{4, 0, 0}));
    const PixelRect narrow{10, 10, 4, 40};  // edge middles of a tall thin frame beat the body
    EXPECT_EQ(setdragmod(&narrow, 12, 30), (DragState{7, 2, 0}));
    EXPECT_EQ(setdragmod(&narrow, 12, 40), (DragState{9, 2, 30}));
}

TEST(DragCursor, ModeIsTheSlotAndNothingIsTheArrow) {
    for (int mode = 1; mode <= 9; ++mode) EXPECT_EQ(dragCursorSlot(mode), mode);
    EXPECT_EQ(dragCursorSlot(0), 10);
}

Placement frameInches(double l, double t, double w, double h) {
    return Placement{l, t, w, h, 1, 0, 0, {}};
}

TEST(Dragit, MoveWithTheGridSnapsOnlyTheCornerAndKeepsTheExactSize) {
    Placement p = frameInches(1, 1, 2.0123, 1.5077);
    DragState s{9, 0, 0};
    const DragView view{100, 96, 800, 1000, true, 5};
    dragit(p, s, 200, 150, view);
    EXPECT_DOUBLE_EQ(p.Left, SnapToGrid(200.0 / 96, true, 5));
    EXPECT_NEAR(p.Left * 25.39995, 55, 1e-9);  // 2.083 in = 52.9 mm -> 55
    EXPECT_NEAR(p.Top * 25.39995, 40, 1e-9);   // 1.5625 in = 39.7 mm -> 40
    EXPECT_EQ(p.Width, 2.0123);
    EXPECT_EQ(p.Height, 1.5077);
}

TEST(Dragit, ResizeSnapsAllFourOnlyWithTheGrid) {
    Placement p = frameInches(1, 1, 1, 1);
    DragState s{4, 0, 0};
    dragit(p, s, 300, 250, DragView{100, 96, 800, 1000, true, 5});
    EXPECT_NEAR(p.Left * 25.39995, 25, 1e-9);  // 25.4 mm
    EXPECT_NEAR(p.Top * 25.39995, 25, 1e-9);
    EXPECT_NEAR(p.Width * 25.39995, 55, 1e-9);   // 204 px = 53.97 mm
    EXPECT_NEAR(p.Height * 25.39995, 40, 1e-9);  // 154 px = 40.75 mm

    p = frameInches(1, 1, 1, 1);
    s = DragState{8, 0, 0};
    dragit(p, s, 120, 0, DragView{50, 96, 400, 500, false, 5});  // frame 48, 48, 48 x 48
    EXPECT_DOUBLE_EQ(p.Left, 1);
    EXPECT_DOUBLE_EQ(p.Width, 72.0 * 100 / 50 / 96);  // 120 - 48 = 72 px
    EXPECT_DOUBLE_EQ(p.Height, 1);

    p = frameInches(1.01, 2.02, 3.03, 4.04);  // nothing grabbed changes nothing
    s = DragState{0, 0, 0};
    dragit(p, s, 5, 5, DragView{100, 96, 800, 1000, true, 5});
    EXPECT_EQ(p.Left, 1.01);
    EXPECT_EQ(p.Width, 3.03);
}

}  // namespace
