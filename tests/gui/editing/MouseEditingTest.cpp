#include <QMenu>

#include "EditingFixture.h"
#include "gui/layout/BildPopup.h"

using namespace editingtest;

namespace {

TEST_F(EditingTest, ResizingByAHandleWithRealMouseEventsStoresSnappedInches) {
    addPictures(1);
    place(0, 1, 1, 2, 1.5);  // 96, 96, 192 x 144 pixels
    editor().SelectPlacement(0);
    ASSERT_EQ(tab.PaintBox2->size(), QSize(768, 1008));

    QTest::mouseMove(tab.PaintBox2, QPoint(289, 241));  // hover over the bottom-right handle
    EXPECT_EQ(editor().cursorSlot(), 4);
    EXPECT_EQ(tab.PaintBox2->cursor().shape(), Qt::SizeFDiagCursor);

    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(289, 241));
    EXPECT_TRUE(editor().dragging());
    EXPECT_TRUE(tab.PaintBox2->dragging());
    EXPECT_FALSE(tab.PaintBox2->dragCache().isNull());
    QTest::mouseMove(tab.PaintBox2, QPoint(340, 300));
    QTest::mouseMove(tab.PaintBox2, QPoint(385, 337));  // the grabbed point lands on 384, 336
    EXPECT_TRUE(status.startsWith(QStringLiteral("( x: 25")));
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, QPoint(385, 337));

    EXPECT_FALSE(editor().dragging());
    EXPECT_TRUE(tab.PaintBox2->dragCache().isNull());
    // 1 in = 25.4 mm -> 25; 288 px = 3 in = 76.2 mm -> 75; 240 px = 2.5 in = 63.5 mm -> 65.
    // The 40 x 30 picture fitted into 75 mm across prints at 40 / 2.95 in = 13.5 dpi.
    const double mm[] = {at(0).Left * kMm, at(0).Top * kMm, at(0).Width * kMm, at(0).Height * kMm};
    const double want[] = {25, 25, 75, 65};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(mm[i], want[i], 1e-9) << i;
    QString expected =
        QStringLiteral("( x: 25.00mm; y: 25.00mm ) ( Breite: 75.00mm; Höhe: 65.00mm ) 13 dpi");
    EXPECT_EQ(status, expected.replace(QLatin1Char('.'), QLocale().decimalPoint()));
}

TEST_F(EditingTest, MovingTheBodyKeepsTheExactSizeAndTheBandDoesNotRedrawPictures) {
    addPictures(1);
    place(0, 1, 1, 2.0123, 1.5077);
    editor().SelectPlacement(0);
    PaintCounter paints(tab.PaintBox2);
    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(editor().dragState().mode, pr::kDragMove);
    const QImage cache = tab.PaintBox2->dragCache();
    QTest::mouseMove(tab.PaintBox2, QPoint(250, 200));
    EXPECT_EQ(tab.PaintBox2->dragCache().cacheKey(), cache.cacheKey());  // not made again
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, QPoint(250, 200));
    EXPECT_EQ(at(0).Width, 2.0123);
    EXPECT_EQ(at(0).Height, 1.5077);
    EXPECT_NEAR(at(0).Left * kMm, 50, 1e-9);  // 196 px = 51.9 mm -> 50
    EXPECT_GE(paints.count, 2);               // the press and the release repaint in full
}

TEST_F(EditingTest, PressSelectsTheFrontmostAndBringsItToTheFrontASecondPressMoves) {
    addPictures(3);
    place(0, 0.5, 0.5, 1, 1);  // 48..143
    place(1, 1, 1, 1, 1);      // 96..191
    place(2, 4, 4, 1, 1);
    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(120, 120));
    EXPECT_EQ(album.SelectedPlacement, 2);  // picture 1 swapped to the end
    EXPECT_EQ(at(2).ImageKey, album.Pictures[1].Key);
    EXPECT_EQ(enabledControls(), 8);
    EXPECT_FALSE(editor().dragging());
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, QPoint(120, 120));

    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(60, 60));  // picture 0 alone
    EXPECT_EQ(at(2).ImageKey, album.Pictures[0].Key);
    EXPECT_FALSE(editor().dragging());
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(editor().dragging());
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, QPoint(60, 60));

    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(700, 900));  // empty page
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_EQ(enabledControls(), 0);
}

TEST_F(EditingTest, RightClickOnEmptySpaceDeselectsAndOnAPlacementOpensTheMenu) {
    addPictures(2);
    place(0, 1, 1, 1, 1);
    place(1, 3, 3, 1, 1);
    editor().SelectPlacement(1);
    ASSERT_EQ(enabledControls(), 8);
    QTest::mousePress(tab.PaintBox2, Qt::RightButton, {}, QPoint(600, 50));
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_EQ(enabledControls(), 0);
    EXPECT_FALSE(editor().popup()->isVisible());

    QTest::mousePress(tab.PaintBox2, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(album.SelectedPlacement, 1);
    EXPECT_EQ(at(1).ImageKey, album.Pictures[0].Key);
    EXPECT_TRUE(editor().popup()->isVisible());
    editor().popup()->Lschen1->trigger();
    editor().popup()->close();
    EXPECT_EQ(album.placementCount(), 1u);
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_TRUE(prompter.shown.empty());  // deleted without a question
}

TEST_F(EditingTest, StripPressChoosesTheCellAndStartsTheDragAtOnceNotInTheGap) {
    addPictures(3);
    int drags = 0;
    editor().setDragStarter([&] { ++drags; });
    const int w = tab.PaintBox1->width();
    ASSERT_GT(w, 10);
    QTest::mousePress(tab.PaintBox1, Qt::LeftButton, {}, QPoint(5, (w + 2) + 1));
    EXPECT_EQ(album.StripSelection, 1);
    EXPECT_EQ(drags, 1);
    QTest::mouseRelease(tab.PaintBox1, Qt::LeftButton, {}, QPoint(5, (w + 2) + 1));
    QTest::mousePress(tab.PaintBox1, Qt::LeftButton, {}, QPoint(5, 2 * (w + 2)));  // the gap
    EXPECT_EQ(album.StripSelection, 1);
    EXPECT_EQ(drags, 1);
}

TEST_F(EditingTest, DropPlacesTheStripPictureSnappedWithTheDefaultSize) {
    addPictures(2);
    album.StripSelection = 1;
    tab.CutDefault->setChecked(true);
    tab.PageCountED->setValue(2);
    tab.APageEd->setValue(2);
    editor().PaintBox2DragDrop(QPoint(100, 60), tab.PaintBox1);
    ASSERT_EQ(album.placementCount(), 1u);
    const pr::Placement& p = at(0);
    EXPECT_NEAR(p.Left * kMm, 25, 1e-9);  // 100 px = 26.5 mm -> 25
    EXPECT_NEAR(p.Top * kMm, 15, 1e-9);   // 60 px = 15.9 mm -> 15
    EXPECT_DOUBLE_EQ(p.Width * kMm, 130);
    EXPECT_DOUBLE_EQ(p.Height * kMm, 100);
    EXPECT_EQ(p.Page, 2);
    EXPECT_EQ(p.FitCrop, 1);
    EXPECT_EQ(p.ImageKey, album.Pictures[1].Key);
    EXPECT_EQ(album.SelectedPlacement, 0);
    // 130 mm at 72 dpi needs 368 pixels across: the picture was raised.
    EXPECT_GE(album.Pictures[1].width(), 368);

    editor().PaintBox2DragDrop(QPoint(10, 10), nullptr);  // not from the strip
    album.StripSelection = 5;                             // no such picture
    editor().PaintBox2DragDrop(QPoint(10, 10), tab.PaintBox1);
    EXPECT_EQ(album.placementCount(), 1u);
}

TEST_F(EditingTest, DoubleClickOnTheStripPlacesAtTheCornerWhateverTheGrid) {
    addPictures(2);
    editor().setDragStarter([] {});
    tab.GridEd->setValue(7);
    const int w = tab.PaintBox1->width();
    // What a double click delivers: a press and release, then the double click.
    QTest::mouseClick(tab.PaintBox1, Qt::LeftButton, {}, QPoint(5, w + 10));
    EXPECT_EQ(album.placementCount(), 0u);
    QTest::mouseDClick(tab.PaintBox1, Qt::LeftButton, {}, QPoint(5, w + 10));
    ASSERT_EQ(album.placementCount(), 1u);
    EXPECT_EQ(at(0).Left, 0);
    EXPECT_EQ(at(0).Top, 0);
    EXPECT_EQ(at(0).ImageKey, album.Pictures[1].Key);
}

TEST_F(EditingTest, ChangingThePageEndsTheSelection) {
    addPictures(1);
    place(0, 1, 1, 1, 1);
    editor().SelectPlacement(0);
    tab.PageCountED->setValue(2);
    tab.APageEd->setValue(2);
    EXPECT_EQ(album.SelectedPlacement, -1);
    EXPECT_EQ(enabledControls(), 0);
    // Where the frame was, nothing is grabbed now.
    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(editor().dragging());
}

}  // namespace
