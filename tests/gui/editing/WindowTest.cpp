// The page editor inside the whole window: the status bar, the cursor slots and the viewer of the
// main window are the ones it uses. With PR_SCREENSHOT_DIR set, pictures of the page after a drop,
// during a resize and after the arrangement are saved there (for looking at them under xvfb-run).

#include <gtest/gtest.h>

#include <QTabWidget>
#include <QTest>

#include "ScriptedPrompter.h"
#include "app/TMainForm.h"
#include "layout/PageView.h"
#include "layout/PictureStrip.h"
#include "layout/PlacementEditor.h"
#include "layout/TLayoutTab.h"

namespace {

void save(QWidget& window, const char* name) {
    const QByteArray dir = qgetenv("PR_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

TEST(EditorInWindow, DropResizeAndArrangeReachTheWindowsStatusBarAndCursors) {
    testsupport::ScriptedPrompter prompter;
    pr::TMainForm form(&prompter);
    pr::TLayoutTab& tab = *form.layoutTab();
    pr::Album& album = form.album();
    const uint32_t colours[] = {0x003060d0, 0x0040a040, 0x00c08030, 0x002020a0, 0x00a000a0};
    for (int i = 0; i < 5; ++i) {
        pr::ImageBuffer image;
        ASSERT_TRUE(pr::newdib(image, 400, 300 - 40 * (i % 2), 24));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pr::setpixel(image, x, y, (x / 40 + y / 40) % 2 ? colours[i] : 0x00f0f0f0);
        album.addPicture("urlaub" + std::to_string(i + 1) + ".jpg", image);
    }
    album.Pictures[0].Comment = "Am Strand";
    form.pageControl()->setCurrentIndex(pr::TMainForm::LayoutTab);
    form.resize(1000, 760);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    tab.ZoomEd->setValue(50);
    tab.PaintBox1Paint();

    album.StripSelection = 0;
    tab.editor().PaintBox2DragDrop(QPoint(40, 30), tab.PaintBox1);
    ASSERT_EQ(album.placementCount(), 1u);
    EXPECT_TRUE(form.statusText().startsWith(QStringLiteral("( x: ")));
    EXPECT_TRUE(form.statusText().contains(QStringLiteral("Breite: 130")));
    QTest::qWait(100);
    save(form, "shot-drop.png");

    const QRect frame = [&] {
        const pr::Placement& p = *album.placementAt(0);
        const pr::PixelRect r =
            pr::frameOnScreen(p.Left, p.Top, p.Width, p.Height, 50, tab.screenPpi());
        return QRect(r.x, r.y, r.w, r.h);
    }();
    const QPoint corner(frame.x() + frame.width(), frame.y() + frame.height());
    // Hovering without a button: QTest would move the real pointer, whose motion event may come
    // in late under X and undo the drag step below.
    tab.editor().PaintBox2MouseMove(corner);
    EXPECT_EQ(tab.PaintBox2->cursor().shape(), form.cursorSlots().at(4).shape());
    QTest::mousePress(tab.PaintBox2, Qt::LeftButton, {}, corner);
    QTest::mouseMove(tab.PaintBox2, corner + QPoint(60, 45));
    QTest::qWait(100);
    save(form, "shot-resize.png");
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, corner + QPoint(60, 45));
    EXPECT_GT(album.placementAt(0)->Width * 25.39995, 140);

    for (int i = 1; i < 5; ++i) {
        album.StripSelection = i;
        tab.editor().PaintBox2DragDrop(QPoint(60 + 20 * i, 60 + 20 * i), tab.PaintBox1);
    }
    tab.OrdeneBtn->click();
    EXPECT_TRUE(form.statusText().startsWith(QStringLiteral("( x: 15")));
    QTest::qWait(100);
    save(form, "shot-arrange.png");
    QTest::qWait(qEnvironmentVariableIntValue("PR_SCREENSHOT_WAIT_MS"));

    prompter.answer(pr::Prompter::Button::Ok);  // the closing question
    album.DelallPics();
}

}  // namespace
