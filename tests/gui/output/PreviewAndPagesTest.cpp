// The 1:1 preview's size and panning, the setup button, and the page field linked with the layout.

#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include "OutputFixture.h"

using PreviewTest = OutputFixture;
using pr::PrintPreview;

TEST_F(PreviewTest, SheetUsesBothResolutionsOfScreenAndPrinter) {
    // 8 x 11 inches at 600 dpi on a 96 dpi screen.
    EXPECT_EQ(PrintPreview::sheetSize({4800, 6600, 600, 600}, 96, 96), QSize(768, 1056));
    // 600 across and 1200 down: the paper is 8 x 5.5 inches, and so is the sheet.
    EXPECT_EQ(PrintPreview::sheetSize({4800, 6600, 600, 1200}, 96, 96), QSize(768, 528));
    EXPECT_EQ(PrintPreview::sheetSize({4800, 6600, 600, 600}, 96, 120), QSize(768, 1320));
    EXPECT_TRUE(PrintPreview::sheetSize({4800, 6600, 0, 0}, 96, 96).isEmpty());
}

TEST_F(PreviewTest, ShowsOnlyTheCurrentPageAtPrintedSize) {
    place(addPicture(10, 10, 0x000000ff), 1, 1, 1, 1, 1);
    place(addPicture(10, 10, 0x00ff0000), 2, 2, 2, 1, 1);
    layout->PageCountED->setValue(2);
    QImage page = output->PaintBox3->renderToImage();
    ASSERT_EQ(page.size(), QSize(768, 1056));
    EXPECT_EQ(page.pixel(96, 96), 0xffff0000u);    // red of page 1 at 1 inch
    EXPECT_EQ(page.pixel(200, 200), 0xffffffffu);  // page 2's picture is not here
    output->APageEd2->setValue(2);
    page = output->PaintBox3->renderToImage();
    EXPECT_EQ(page.pixel(96, 96), 0xffffffffu);
    EXPECT_EQ(page.pixel(200, 200), 0xff0000ffu);
}

TEST_F(PreviewTest, DraggingPansAndStopsAtTheEdgesPerAxis) {
    EXPECT_EQ(PrintPreview::pannedPosition(10, 5, 50, 100), 0);
    EXPECT_EQ(PrintPreview::pannedPosition(90, 50, 5, 100), 100);
    EXPECT_EQ(PrintPreview::pannedPosition(40, 30, 20, 100), 50);

    outputArea->resize(500, 400);
    outputArea->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(outputArea.get()));
    output->PaintBox3Paint();
    QApplication::processEvents();
    PrintPreview* box = output->PaintBox3;
    EXPECT_EQ(box->size(), QSize(768, 1056));
    QScrollBar* h = output->ScrollBox3->horizontalScrollBar();
    QScrollBar* v = output->ScrollBox3->verticalScrollBar();
    ASSERT_GT(h->maximum(), 100);
    ASSERT_GT(v->maximum(), 100);

    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(box, QPoint(60, 70));
    EXPECT_EQ(h->value(), 40);
    EXPECT_EQ(v->value(), 30);
    // The grabbed point stays under the mouse; far beyond the edges each axis stops on its own.
    QTest::mouseMove(box, QPoint(100 + 40 - 5000, 100 + 30 + 5));
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(v->value(), 0);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(box->panning());
}

TEST_F(PreviewTest, WheelScrollsByTheDesktopsLinesPerNotch) {
    outputArea->resize(500, 400);
    outputArea->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(outputArea.get()));
    QApplication::processEvents();
    QScrollBar* v = output->ScrollBox3->verticalScrollBar();
    ASSERT_GT(v->maximum(), 500);
    const int lines = QApplication::wheelScrollLines();
    for (int setting : {3, 5}) {
        QApplication::setWheelScrollLines(setting);
        v->setValue(0);
        QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(output->PaintBox3, &down);
        EXPECT_EQ(v->value(), setting * v->singleStep());
    }
    QApplication::setWheelScrollLines(lines);
}

TEST_F(PreviewTest, SetupFollowsTheNewPaper) {
    layout->setPrinterPageSource({});  // the real printer object this time
    prompter.answerPageSetup([](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    const QSize before = output->PaintBox3->wantedSize();
    output->SetupBtnClick();
    EXPECT_EQ(prompter.pageSetupDialogs, 1);
    const QSize after = output->PaintBox3->wantedSize();
    EXPECT_GT(after.width(), after.height());
    EXPECT_LT(before.width(), before.height());
}

TEST_F(PreviewTest, PageFieldsFollowEachOtherWithoutLooping) {
    layout->PageCountED->setValue(3);
    QSignalSpy outputChanges(output->APageEd2, &QSpinBox::valueChanged);
    QSignalSpy layoutChanges(layout->APageEd, &QSpinBox::valueChanged);
    output->APageEd2->setValue(2);
    EXPECT_EQ(layout->APageEd->value(), 2);
    EXPECT_EQ(outputChanges.count(), 1);
    EXPECT_EQ(layoutChanges.count(), 1);
    layout->APageEd->setValue(3);
    EXPECT_EQ(output->APageEd2->value(), 3);
    // Beyond the page count: the layout pulls it down and hands the page back.
    output->APageEd2->setValue(7);
    EXPECT_EQ(layout->APageEd->value(), 3);
    EXPECT_EQ(output->APageEd2->value(), 3);
    // Lowering the count moves both fields.
    layout->PageCountED->setValue(1);
    EXPECT_EQ(layout->APageEd->value(), 1);
    EXPECT_EQ(output->APageEd2->value(), 1);
    layout->PageCountED->setValue(4);  // raising it moves nothing
    EXPECT_EQ(output->APageEd2->value(), 1);
    EXPECT_LT(outputChanges.count(), 10);
}
