#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

#include "ScriptedPrompter.h"
#include "TestPictures.h"
#include "layout/ColorComboBox.h"
#include "layout/PageView.h"
#include "layout/PictureStrip.h"
#include "layout/TLayoutTab.h"
#include "toolkit/StoredValues.h"

using namespace layouttest;

namespace {

// 8 x 10.5 inches of printable area at 600 pixels per inch.
pr::PrinterPage letterPortrait() {
    return {4800, 6300, 600, 600};
}

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
    pr::PrinterPage page = letterPortrait();
    QWidget area;
    pr::TLayoutTab tab;
};

TEST_F(LayoutTabTest, ControlsHaveTheirRangesStepsAndDefaults) {
    auto spin = [](QSpinBox* e, int min, int max, int step, int value) {
        EXPECT_EQ(e->minimum(), min) << e->objectName().toStdString();
        EXPECT_EQ(e->maximum(), max) << e->objectName().toStdString();
        EXPECT_EQ(e->singleStep(), step) << e->objectName().toStdString();
        EXPECT_EQ(e->value(), value) << e->objectName().toStdString();
    };
    spin(tab.ZoomEd, 10, 9000, 10, 25);
    spin(tab.PageCountED, 1, 1000, 1, 1);
    spin(tab.APageEd, 1, 1000, 1, 1);
    spin(tab.MinQualEd, 10, 300, 1, 72);
    auto real = [](QDoubleSpinBox* e, double min, double max, double value) {
        EXPECT_DOUBLE_EQ(e->minimum(), min) << e->objectName().toStdString();
        EXPECT_DOUBLE_EQ(e->maximum(), max) << e->objectName().toStdString();
        EXPECT_DOUBLE_EQ(e->value(), value) << e->objectName().toStdString();
    };
    real(tab.GridEd, 0.01, 100, 5);
    real(tab.RandEd, 0, 100, 15);
    real(tab.SpaceED, 0, 100, 5);
    real(tab.DBreiteED, 0, 1000, 130);
    real(tab.DHocheED, 0, 1000, 100);

    EXPECT_TRUE(tab.UseGridCheck->isChecked());
    EXPECT_FALSE(tab.ShowGridCheck->isChecked());
    EXPECT_FALSE(tab.TranspCheck->isChecked());
    EXPECT_TRUE(tab.SverhCheck->isChecked());
    EXPECT_FALSE(tab.ShowFNames->isChecked());
    EXPECT_FALSE(tab.CutDefault->isChecked());
    EXPECT_TRUE(tab.EnhanceQualCheck->isChecked());
    EXPECT_TRUE(tab.CutCheck->isChecked());
    EXPECT_EQ(tab.BkColBox->color(), QColor(Qt::white));
    EXPECT_EQ(tab.UseGridCheck->text(), QStringLiteral("Bilder an \"Netz\" ausrichten"));
    EXPECT_EQ(tab.Overtakeall->text(), QStringLiteral("A&lle übernehmen"));
    EXPECT_EQ(tab.OrdeneBtn->text(), QStringLiteral("Automatisch &anordnen..."));

    const QStringList pages = {QStringLiteral("Bilder anordnen"), QStringLiteral("Einstellungen"),
                               QStringLiteral("Schrift Einstellungen"),
                               QStringLiteral("Bild Optionen")};
    ASSERT_EQ(tab.PageControl4->count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tab.PageControl4->tabText(i), pages[i]);

    // Nothing is selected at start, so the eight placement controls are off.
    for (QWidget* c :
         {static_cast<QWidget*>(tab.HellKonBtn), static_cast<QWidget*>(tab.DelitBtn),
          static_cast<QWidget*>(tab.RotLeftBtn), static_cast<QWidget*>(tab.RotRightBtn),
          static_cast<QWidget*>(tab.FreeText), static_cast<QWidget*>(tab.ShowBigBtn),
          static_cast<QWidget*>(tab.ChangePosSizeBtn), static_cast<QWidget*>(tab.CutCheck)})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    tab.setPlacementControlsEnabled(true);
    EXPECT_TRUE(tab.FreeText->isEnabled());

    pr::StoredValues values(QStringLiteral("TMainForm"));
    tab.registerStoredValues(values);
    for (const char* key : {"SpaceED.Value", "RandEd.Value", "UseGridCheck.Checked", "GridEd.Value",
                            "ShowGridCheck.Checked", "MinQualEd.Value", "EnhanceQualCheck.Checked"})
        EXPECT_TRUE(values.contains(QLatin1String(key))) << key;
}

TEST_F(LayoutTabTest, LoweringThePageCountPullsTheCurrentPageDown) {
    tab.PageCountED->setValue(3);
    tab.APageEd->setValue(3);
    std::vector<std::pair<int, bool>> handedOn;
    QObject::connect(&tab, &pr::TLayoutTab::currentPageChanged, &tab, [&](int p) {
        handedOn.push_back({p, tab.PageSyncGuard()});
    });
    tab.PageCountED->setValue(1);
    EXPECT_EQ(tab.APageEd->value(), 1);
    ASSERT_EQ(handedOn.size(), 1u);  // handed on once, while the guard is up
    EXPECT_EQ(handedOn[0], std::make_pair(1, true));
    EXPECT_FALSE(tab.PageSyncGuard());
    // A page above the count typed in directly is pulled down the same way.
    tab.APageEd->setValue(5);
    EXPECT_EQ(tab.APageEd->value(), 1);
    tab.PageCountED->setValue(4);
    EXPECT_EQ(tab.APageEd->value(), 1);  // raising the count moves nothing
}

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

TEST_F(LayoutTabTest, WheelScrollsThePageByTwentyPixelsAndNeverZooms) {
    area.show();
    tab.ZoomEd->setValue(400);
    QApplication::processEvents();
    QScrollBar* bar = tab.ScrollBox2->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    sendWheel(tab.PaintBox2, -120);
    EXPECT_EQ(bar->value(), 20);
    sendWheel(tab.ZoomEd, -120);  // over the zoom field too
    EXPECT_EQ(bar->value(), 40);
    EXPECT_EQ(tab.ZoomEd->value(), 400);
    sendWheel(tab.PaintBox1, 120);
    EXPECT_EQ(bar->value(), 20);
    tab.PageControl4->setCurrentIndex(pr::TLayoutTab::SettingsTab);
    sendWheel(tab.GridEd, -120);
    EXPECT_EQ(bar->value(), 20);
    EXPECT_DOUBLE_EQ(tab.GridEd->value(), 5);
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

// Not a check: with PIXO_LAYOUT_SCREENSHOT=<file.png> this saves a picture of the tab with a
// page of a few placements, for a look by eye.
TEST_F(LayoutTabTest, Screenshot) {
    const QString file = qEnvironmentVariable("PIXO_LAYOUT_SCREENSHOT");
    if (file.isEmpty()) GTEST_SKIP() << "PIXO_LAYOUT_SCREENSHOT not set";
    auto gradient = [](int w, int h, int hue) {
        std::vector<std::vector<QRgb>> rows(static_cast<size_t>(h), std::vector<QRgb>(w));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                rows[y][x] =
                    QColor::fromHsv((hue + x * 60 / w) % 360, 80 + 175 * y / h, 255 - 120 * x / w)
                        .rgb();
        return rows;
    };
    album.addPicture("/home/anna/Bilder/strand.jpg", picture24(gradient(300, 200, 200)));
    album.addPicture("/home/anna/Bilder/turm.jpg", picture24(gradient(150, 260, 20)));
    album.addPicture("/home/anna/Bilder/wiese.jpg", picture24(gradient(260, 260, 90)));
    album.Pictures[0].Comment = "Am Strand 2023";
    auto put = [&](double l, double t, double w, double h, int key, bool crop) {
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        *p = pr::Placement{l, t, w, h, 1, key, static_cast<uint8_t>(crop), {}};
    };
    put(0.6, 0.6, 4.0, 3.0, 0, false);
    put(4.2, 1.2, 3.2, 3.2, 1, true);   // cropped to a square
    put(1.0, 4.6, 3.0, 4.0, 2, false);  // fitted, empty strip below
    album.SelectedPlacement = 1;
    album.StripSelection = 1;
    tab.ShowGridCheck->setChecked(true);
    tab.ZoomEd->setValue(50);
    tab.setPlacementControlsEnabled(true);
    area.resize(980, 640);
    area.show();
    QApplication::processEvents();
    tab.PaintBox1Paint();
    tab.PaintBox2Paint();
    QApplication::processEvents();
    ASSERT_TRUE(area.grab().save(file));
}

}  // namespace
