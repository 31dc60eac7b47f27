// The page editor inside the whole window: the status bar and the cursor slots of the main window
// are the ones it uses.

#include <gtest/gtest.h>

#include <QTabWidget>
#include <QTest>

#include "ScriptedPrompter.h"
#include "gui/app/TMainForm.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"

namespace {

TEST(EditorInWindow, DropAndResizeReachTheWindowsStatusBarAndCursors) {
    testsupport::ScriptedPrompter prompter;
    pr::TMainForm form(&prompter);
    pr::TLayoutTab& tab = *form.layoutTab();
    pr::Album& album = form.album();
    for (int i = 0; i < 2; ++i) {
        pr::ImageBuffer image;
        ASSERT_TRUE(pr::newdib(image, 400, 300 - 40 * (i % 2), 24));
        album.addPicture("urlaub" + std::to_string(i + 1) + ".jpg", image);
    }
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
    QTest::mouseRelease(tab.PaintBox2, Qt::LeftButton, {}, corner + QPoint(60, 45));
    EXPECT_GT(album.placementAt(0)->Width * 25.39995, 140);

    prompter.answer(pr::Prompter::Button::Ok);  // the closing question
    album.DelallPics();
}

}  // namespace
