#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "core/imaging/ImageBuffer.h"
#include "gui/browse/ThumbGrid.h"

using namespace pr;

namespace {

// A cell whose 24-bit thumbnail is one colour (0x00BBGGRR), with the record of a 1600 x 1200
// picture.
ThumbCell cell(const std::string& name, int tw = 80, int th = 60, uint32_t colour = 0x0000FF00) {
    ThumbCell c;
    c.name = name;
    newdib(c.thumbnail, tw, th, 24);
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) setpixel(c.thumbnail, x, y, colour);
    c.info = makeThumbInfo(24, tw, th, 1600, 1200, 1600ull * 3 * 1200, 1);
    return c;
}

struct GridWindow {
    ThumbGrid grid;
    explicit GridWindow(int width = 300, int height = 260) {
        grid.resize(width, height);
        grid.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    void fill(int n) {
        for (int i = 1; i <= n; ++i) grid.appendCell(cell("bild" + std::to_string(i) + ".jpg"));
    }
    QPoint cellPoint(int n, int dx, int dy) const {
        return grid.cellRect(n).topLeft() + QPoint(dx, dy);
    }
};

}  // namespace

TEST(ThumbGridWidget, SelectionBeyondTheCellsAndArrowKeys) {
    GridWindow w;
    ASSERT_EQ(w.grid.columns(), 3);
    w.fill(6);
    w.grid.select(5);
    // Another folder with three pictures: the number stays, no cell is selected.
    w.grid.clear();
    w.fill(3);
    EXPECT_EQ(w.grid.selection(), 5);
    EXPECT_EQ(w.grid.statusText(), QStringLiteral("Bild: keins   "));
    QTest::keyClick(w.grid.paintBox(), Qt::Key_Left);
    EXPECT_EQ(w.grid.selection(), 4);
    EXPECT_EQ(w.grid.statusText(), QStringLiteral("Bild: keins   "));
    QTest::keyClick(w.grid.paintBox(), Qt::Key_Right);
    EXPECT_EQ(w.grid.selection(), 4);
    QTest::keyClick(w.grid.paintBox(), Qt::Key_Up);
    EXPECT_EQ(w.grid.statusText().right(9), QStringLiteral("(1 von 3)"));
}

TEST(ThumbGridWidget, ClicksOnFramesAndInGaps) {
    GridWindow w;
    w.fill(5);
    QWidget* box = w.grid.paintBox();
    QTest::mouseClick(box, Qt::LeftButton, {}, w.cellPoint(2, 45, 55));
    EXPECT_EQ(w.grid.selection(), 2);
    EXPECT_TRUE(box->hasFocus());
    // The gap between cells 2 and 3, and an empty place after the last cell, change nothing.
    for (QPoint gap : {w.cellPoint(3, 1, 50), w.cellPoint(6, 40, 40)}) {
        QTest::mouseClick(box, Qt::LeftButton, {}, gap);
        EXPECT_EQ(w.grid.selection(), 2) << gap.x() << "," << gap.y();
    }
    QTest::mouseClick(box, Qt::RightButton, {}, w.cellPoint(3, 2, 50));  // exactly on a frame line
    EXPECT_EQ(w.grid.selection(), 3);
}

TEST(ThumbGridWidget, EnterAndDoubleClickAskToOpenTheSelectedCell) {
    GridWindow w;
    w.fill(3);
    QSignalSpy open(&w.grid, &ThumbGrid::openRequested);
    w.grid.select(2);
    QTest::keyClick(w.grid.paintBox(), Qt::Key_Return);
    QTest::mouseDClick(w.grid.paintBox(), Qt::LeftButton, {}, w.cellPoint(3, 40, 40));
    ASSERT_EQ(open.count(), 2);
    EXPECT_EQ(open.at(0).at(0).toInt(), 2);
    EXPECT_EQ(open.at(1).at(0).toInt(), 3);
    w.grid.select(9);  // nothing to open while no cell is selected
    QTest::keyClick(w.grid.paintBox(), Qt::Key_Enter);
    EXPECT_EQ(open.count(), 2);
}

TEST(ThumbGridWidget, ArrowKeysScrollTheSelectionIntoView) {
    GridWindow w(300, 250);
    w.fill(30);
    QScrollBar* bar = w.grid.verticalScrollBar();
    const int client = w.grid.viewport()->height();
    w.grid.select(1);
    for (int i = 0; i < 5; ++i) QTest::keyClick(w.grid.paintBox(), Qt::Key_Down);
    ASSERT_EQ(w.grid.selection(), 16);  // row 5
    EXPECT_EQ(bar->value(), 5 * 110 + 108 - client);
}

TEST(ThumbGridWidget, WheelScrollsByTwentyPixelsANotch) {
    GridWindow w(300, 250);
    w.fill(30);
    QScrollBar* bar = w.grid.verticalScrollBar();
    bar->setValue(100);
    QWheelEvent down(QPointF(50, 50), w.grid.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // Where the paint box passes the wheel on to.
    QApplication::sendEvent(w.grid.viewport(), &down);
    EXPECT_EQ(bar->value(), 140);
}

TEST(ThumbGridWidget, DrawsFrameFillsThumbnailAndSelection) {
    GridWindow w;
    w.grid.appendCell(cell("breit.jpg", 80, 40, 0x000000FF));  // red
    w.grid.appendCell(cell("hoch.jpg", 40, 80, 0x00FF0000));   // blue in 0x00BBGGRR
    w.grid.select(1);
    const QImage shot = w.grid.paintBox()->grab().toImage();
    auto at = [&](int n, int dx, int dy) {
        const QPoint p = w.cellPoint(n, dx, dy);
        return shot.pixelColor(p).rgb() & 0xFFFFFF;
    };
    // White top-left, grey bottom-right; the selected cell filled blue, others silver; 80 x 40 at
    // offsets 0/20, 40 x 80 at 20/0; the gap in the box's own colour.
    const unsigned gap = w.grid.palette().color(QPalette::Dark).rgb() & 0xFFFFFF;
    const struct {
        int n, dx, dy;
        unsigned rgb;
    } points[] = {{1, 2, 2, 0xFFFFFF},   {1, 88, 108, 0x808080}, {1, 4, 4, 0x0000FF},
                  {2, 4, 4, 0xC0C0C0},   {1, 5, 24, 0x0000FF},   {1, 5, 25, 0xFF0000},
                  {1, 84, 64, 0xFF0000}, {1, 84, 65, 0x0000FF},  {2, 24, 5, 0xC0C0C0},
                  {2, 25, 5, 0x0000FF},  {2, 64, 84, 0x0000FF},  {2, 65, 84, 0xC0C0C0},
                  {1, 0, 0, gap}};
    for (const auto& p : points)
        EXPECT_EQ(at(p.n, p.dx, p.dy), p.rgb) << p.n << ": " << p.dx << "," << p.dy;
}
