#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

#include "ScriptedPrompter.h"
#include "TestPictures.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/TLayoutTab.h"

using namespace layouttest;

namespace {

class LayoutTabTest : public ::testing::Test {
protected:
    LayoutTabTest() : tab(album, prompter, &area) {
        tab.setPrinterPageSource([this] { return page; });
        tab.setScreenPpi(96);
        tab.setDisplayBitsPerPixel(24);
        area.resize(900, 650);
    }

    void addPicture(const char* name, QRgb colour, int w, int h) {
        album.addPicture(name, picture24(std::vector<std::vector<QRgb>>(
                                   static_cast<size_t>(h), std::vector<QRgb>(w, colour))));
    }

    void sendWheel(QWidget* target, int delta) {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    pr::Album album;
    testsupport::ScriptedPrompter prompter;
    pr::PrinterPage page{4800, 6300, 600, 600};  // 8 x 10.5 inches
    QWidget area;
    pr::TLayoutTab tab;
};

TEST_F(LayoutTabTest, PageSizeIsReadFromThePrinterAtEveryUse) {
    tab.PaintBox2Paint();
    EXPECT_EQ(tab.PaintBox2->size(), QSize(192, 252));
    page = {6300, 4800, 600, 1200};  // landscape; the vertical resolution plays no part
    tab.PaintBox2Paint();
    EXPECT_EQ(tab.PaintBox2->size(), QSize(252, 192));
    tab.ZoomEd->setValue(100);  // a zoom change redraws at the new size at once
    EXPECT_EQ(tab.PaintBox2->size(), QSize(1008, 768));
}

TEST_F(LayoutTabTest, StripIsOnePixelHighForAnEmptyAlbum) {
    area.show();
    tab.PaintBox1Paint();
    EXPECT_EQ(tab.PaintBox1->height(), 1);
    addPicture("a.bmp", qRgb(255, 0, 0), 40, 30);
    addPicture("b.bmp", qRgb(0, 255, 0), 30, 40);
    tab.PaintBox1Paint();
    EXPECT_EQ(tab.PaintBox1->width(), tab.ScrollBox1->viewport()->width());
    EXPECT_EQ(tab.PaintBox1->height(), (tab.ScrollBox1->width() + 2) * 2);
    EXPECT_EQ(tab.ScrollBox1->verticalScrollBar()->singleStep(), 150);

    // The selected cell is blue inside a black outline; the thumbnail sits in its middle.
    const QImage strip = tab.PaintBox1->grab().toImage();
    const int s = tab.PaintBox1->width();
    EXPECT_EQ(at(strip, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(at(strip, 1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(at(strip, s / 2, s / 2), qRgb(255, 0, 0));
    EXPECT_EQ(at(strip, s / 2, s + 2 + s / 2), qRgb(0, 255, 0));
}

TEST_F(LayoutTabTest, WheelScrollsThePageByTheDesktopsLinesAndNeverZooms) {
    area.show();
    tab.ZoomEd->setValue(400);
    QApplication::processEvents();
    QScrollBar* bar = tab.ScrollBox2->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 1000);
    const int line = bar->singleStep();
    const int lines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    sendWheel(tab.PaintBox2, -120);
    EXPECT_EQ(bar->value(), 3 * line);
    sendWheel(tab.ZoomEd, -120);  // over the zoom field too
    EXPECT_EQ(bar->value(), 6 * line);
    EXPECT_EQ(tab.ZoomEd->value(), 400);
    sendWheel(tab.PaintBox1, 120);
    EXPECT_EQ(bar->value(), 3 * line);
    // A touchpad's half notches add up; another setting of the desktop gives another step.
    QApplication::setWheelScrollLines(1);
    sendWheel(tab.PaintBox2, -60);
    EXPECT_EQ(bar->value(), 3 * line);
    sendWheel(tab.PaintBox2, -60);
    EXPECT_EQ(bar->value(), 4 * line);
    tab.PageControl4->setCurrentIndex(pr::TLayoutTab::SettingsTab);
    sendWheel(tab.GridEd, -120);
    EXPECT_EQ(bar->value(), 4 * line);
    EXPECT_DOUBLE_EQ(tab.GridEd->value(), 5);
    QApplication::setWheelScrollLines(lines);
}

TEST_F(LayoutTabTest, DragDrawsFromTheCachedPageWithoutHandles) {
    addPicture("a.bmp", qRgb(255, 0, 0), 40, 30);
    auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
    *p = pr::Placement{0.5, 0.5, 2, 1.5, 1, 0, 0, {}};
    album.SelectedPlacement = 0;
    tab.PaintBox2Paint();
    const QImage idle = tab.PaintBox2->renderToImage();
    EXPECT_EQ(at(idle, 12 - 3, 12 - 3), qRgb(0, 0, 0));  // top-left handle at (12, 12)

    tab.PaintBox2->setDragging(true);
    const QImage& cache = tab.PaintBox2->dragCache();
    ASSERT_EQ(cache.size(), tab.PaintBox2->size());
    EXPECT_EQ(at(cache, 12 - 3, 12 - 3), qRgb(255, 255, 255));  // no selection in the cache
    EXPECT_EQ(at(cache, 20, 20), qRgb(255, 0, 0));
    const QImage dragged = tab.PaintBox2->grab().toImage();
    EXPECT_EQ(at(dragged, 20, 12), qRgb(0, 255, 255));  // the band inverts the picture
    EXPECT_EQ(at(dragged, 12 - 3, 12 - 3), qRgb(255, 255, 255));
    tab.PaintBox2->setDragging(false);
    EXPECT_TRUE(tab.PaintBox2->dragCache().isNull());
}

}  // namespace
