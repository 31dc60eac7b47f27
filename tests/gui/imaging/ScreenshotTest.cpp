// Not a check: with PIXO_HKFORM_SCREENSHOT=<file.png> this opens the dialog over a layout page
// through the real command, previews brightness +80 and saves the page with the dialog on top.

#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "ImagingFixture.h"
#include "imaging/THKForm.h"
#include "layout/TLayoutTab.h"

using namespace imagingtest;

namespace {

TEST_F(ImagingTest, ScreenshotOfThePreviewOverAPage) {
    const QString file = qEnvironmentVariable("PIXO_HKFORM_SCREENSHOT");
    if (file.isEmpty()) GTEST_SKIP() << "PIXO_HKFORM_SCREENSHOT not set";
    QWidget area;
    pr::TLayoutTab tab(album, prompter, &area);
    tab.setPrinterPageSource([] { return pr::PrinterPage{4800, 6300, 600, 600}; });
    tab.setScreenPpi(96);
    tab.setDisplayBitsPerPixel(24);
    pr::ImageBuffer photo;
    pr::newdib(photo, 300, 200, 24);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const QColor c = QColor::fromHsv(200 + x * 90 / 300, 60 + 150 * y / 200, 190 - x / 3);
            pr::setpixel(photo, x, y,
                         static_cast<uint32_t>(c.blue() << 16 | c.green() << 8 | c.red()));
        }
    placed(picture(24, 120, 160));
    album.placementAt(0)->Left = 5.3;
    placed(photo);
    album.placementAt(1)->Width = 4.5;
    album.placementAt(1)->Height = 3;
    tab.ZoomEd->setValue(50);
    tab.setPlacementControlsEnabled(true);
    area.resize(1000, 660);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));

    pr::PictureCommandContext c{album,
                                prompter,
                                &area,
                                [&] {
                                    tab.PaintBox1Paint();
                                    tab.PaintBox2Paint();
                                },
                                {}};
    ModalScript<pr::THKForm> script([&](pr::THKForm& form) {
        form.setPositions(80, 100, 0);
        QTest::mouseClick(form.PreviewBtn, Qt::LeftButton);
        QTest::qWait(100);
        QImage shot = area.grab().toImage();
        const QImage dialog = form.grab().toImage();
        QPainter p(&shot);
        const QPoint at(shot.width() - dialog.width() - 30, 150);
        p.drawImage(at, dialog);
        p.setPen(Qt::darkGray);
        p.drawRect(QRect(at, dialog.size()).adjusted(-1, -1, 0, 0));
        p.end();
        EXPECT_TRUE(shot.save(file));
        QTest::mouseClick(form.CancelBitBtn2, Qt::LeftButton);
    });
    pr::HelligkeitKontrastundSttigung1Click(c);
    EXPECT_TRUE(script.ran());
}

}  // namespace
