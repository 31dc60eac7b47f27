// A fresh start at the default window size, as a new user meets it: nothing may wait for a resize
// or a tab change before it shows.

#include <QAbstractButton>
#include <QLabel>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "GuiTestHelpers.h"
#include "ScreenPixels.h"
#include "core/layout/PageGeometry.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/PrintPreview.h"
#include "gui/output/TOutputTab.h"

using pr::TMainForm;

namespace {

pr::ImageBuffer redPicture() {
    pr::ImageBuffer image;
    EXPECT_TRUE(pr::newdib(image, 40, 30, 24));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) pr::setpixel(image, x, y, 0x0000FF);
    return image;
}

}  // namespace

TEST_F(MainFormFixture, PageAndPreviewHaveTheSheetSizeFromTheStartAndTakeADrop) {
    TMainForm& w = showForm();
    ASSERT_EQ(w.size(), QSize(638, 512));
    pr::TLayoutTab& layout = *w.layoutTab();
    const QSize sheet = [&] {
        const pr::PixelSize s =
            pr::pageOnScreen(layout.printerPage(), pr::kZoomDefault, layout.screenPpi());
        return QSize(s.w, s.h);
    }();
    ASSERT_FALSE(sheet.isEmpty());

    w.pageControl()->setCurrentIndex(TMainForm::LayoutTab);
    QApplication::processEvents();
    EXPECT_EQ(layout.ZoomEd->value(), pr::kZoomDefault);
    EXPECT_EQ(layout.PaintBox2->size(), sheet);

    // A drop lands on whatever widget lies under the mouse in the page's scroll box: the page.
    w.album().addPicture("rot.bmp", redPicture());
    w.album().StripSelection = 0;
    QWidget* viewport = layout.ScrollBox2->viewport();
    const QPoint at(20, 20);
    EXPECT_EQ(viewport->childAt(at), layout.PaintBox2);
    if (viewport->childAt(at) == layout.PaintBox2)
        layout.editor().PaintBox2DragDrop(layout.PaintBox2->mapFrom(viewport, at),
                                          layout.PaintBox1);
    EXPECT_EQ(w.album().placementCount(), 1u);

    w.pageControl()->setCurrentIndex(TMainForm::OutputTab);
    pr::PrintPreview* preview = w.outputTab()->PaintBox3;
    EXPECT_EQ(preview->size(),
              pr::PrintPreview::sheetSize(layout.printerPage(), preview->screenDpiX(),
                                          preview->screenDpiY()));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QImage shown = testsupport::shownOnScreen(preview);
        return !shown.isNull() &&
               QColor(shown.pixel(shown.width() - 2, shown.height() / 2)) == QColor(Qt::white);
    }));
    prompter.answer(pr::Prompter::Button::Ok);
}

namespace {

// Texts on `page` that their widgets cut: labels narrower than their text, buttons narrower than
// their smallest size, tab bars that need scroll arrows.
QStringList clippedTexts(QWidget* page) {
    QStringList clipped;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(page) || label->text().isEmpty() || label->wordWrap()) continue;
        if (label->width() < label->sizeHint().width()) clipped << label->text();
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(page) || button->text().isEmpty()) continue;
        if (button->width() < button->minimumSizeHint().width()) clipped << button->text();
    }
    for (QTabBar* bar : page->findChildren<QTabBar*>()) {
        if (!bar->isVisibleTo(page)) continue;
        // A tab that would need the scroll arrows lies (partly) outside the bar.
        for (int i = 0; i < bar->count(); ++i)
            if (!bar->rect().contains(bar->tabRect(i))) clipped << bar->tabText(i);
    }
    return clipped;
}

}  // namespace

TEST_F(MainFormFixture, EveryTextOfEveryTabFitsAtTheDefaultSize) {
    TMainForm& w = showForm();
    ASSERT_EQ(w.size(), QSize(638, 512));
    for (int tab = 0; tab < TMainForm::TabCount; ++tab) {
        w.pageControl()->setCurrentIndex(tab);
        QApplication::processEvents();
        EXPECT_EQ(clippedTexts(w.pageControl()->currentWidget()), QStringList())
            << w.pageControl()->tabText(tab).toStdString();
    }
    EXPECT_EQ(clippedTexts(w.toolBar()), QStringList());
    // No button is pushed into the toolbar's overflow menu.
    for (QAction* action : w.toolBar()->actions()) {
        if (action->isSeparator()) continue;
        const QWidget* button = w.toolBar()->widgetForAction(action);
        EXPECT_TRUE(button && button->isVisible()) << action->objectName().toStdString();
    }
    prompter.answer(pr::Prompter::Button::Ok);
}

TEST_F(MainFormFixture, StatusTextBelongsToTheTabItWasShownOn) {
    TMainForm& w = showForm();
    w.setStatusText(QStringLiteral("Thumbnail: 1600 x 1200 x 16777216 - 5625 KByte  (3 von 12)"));
    w.pageControl()->setCurrentIndex(TMainForm::SortTab);
    EXPECT_EQ(w.statusText(), QString());

    // Back on the layout tab the selected placement's size shows again.
    w.album().addPicture("rot.bmp", redPicture());
    w.album().StripSelection = 0;
    w.layoutTab()->editor().PaintBox2DragDrop(QPoint(10, 10), w.layoutTab()->PaintBox1);
    const QString size = w.statusText();
    EXPECT_TRUE(size.startsWith("( x: "));
    w.pageControl()->setCurrentIndex(TMainForm::OutputTab);
    EXPECT_EQ(w.statusText(), QString());
    w.pageControl()->setCurrentIndex(TMainForm::LayoutTab);
    EXPECT_EQ(w.statusText(), size);
    prompter.answer(pr::Prompter::Button::Ok);
}
