#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>

#include "BrowseFixture.h"
#include "ScriptedPrompter.h"
#include "gui/album/PictureOrder.h"
#include "gui/output/TViewPicForm.h"

namespace {

std::vector<std::string> names(const pr::Album& album) {
    std::vector<std::string> out;
    for (const pr::AlbumImage& p : album.Pictures) out.push_back(p.FileName);
    return out;
}

pr::ImageBuffer picture(int w, int h) {
    pr::ImageBuffer b;
    pr::newdib(b, w, h, 24);
    return b;
}

}  // namespace

TEST(PictureOrderTest, SortsWholePathsAsUnsignedBytes) {
    pr::Album album;
    for (const char* p : {"/b/a.jpg", "/a/z.jpg", "/a/Y.jpg", "/a/\xc3\xa4.jpg", "/a/c/d.jpg",
                          "/a/e.jpg", "/a/b.jpg"})
        album.addPicture(p, picture(1, 1));
    pr::sortPicturesByPath(album);
    EXPECT_EQ(names(album),
              (std::vector<std::string>{"/a/Y.jpg", "/a/b.jpg", "/a/c/d.jpg", "/a/e.jpg",
                                        "/a/z.jpg", "/a/\xc3\xa4.jpg", "/b/a.jpg"}));
    // Keys travel with their pictures.
    EXPECT_EQ(album.Pictures[0].Key, 2);
    EXPECT_EQ(album.Pictures[6].Key, 0);
}

TEST_F(BrowseFixture, OrderListMovesThePictureAndKeepsItMarked) {
    showForm();
    for (const char* p : {"/x/c.jpg", "/x/a.jpg", "/x/b.jpg"}) album().addPicture(p, picture(2, 2));
    auto* placement = reinterpret_cast<pr::Placement*>(album().Placements.Append());
    placement->ImageKey = 2;
    commands().UpdateListBox();
    QListWidget* box = sortTab().sortBox();

    box->setCurrentRow(2);
    sortTab().upButton()->click();
    sortTab().upButton()->click();
    sortTab().upButton()->click();  // already first
    EXPECT_EQ(box->currentRow(), 0);
    EXPECT_EQ(names(album()), (std::vector<std::string>{"/x/b.jpg", "/x/c.jpg", "/x/a.jpg"}));
    EXPECT_EQ(albumLines(), QStringList({"b.jpg", "c.jpg", "a.jpg"}));
    EXPECT_EQ(album().placementAt(0)->ImageKey, 2);
    EXPECT_EQ(album().Pictures[0].Key, 2);

    box->setCurrentRow(2);
    sortTab().downButton()->click();  // already last
    EXPECT_EQ(names(album()), (std::vector<std::string>{"/x/b.jpg", "/x/c.jpg", "/x/a.jpg"}));

    sortTab().sortButton()->click();
    EXPECT_TRUE(prompter.shown.empty());  // sorting asks nothing
    EXPECT_EQ(albumLines(), QStringList({"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(box->currentRow(), 0);
}

TEST_F(BrowseFixture, ShowLargeReloadsFromTheFileAndRefusesAVanishedOne) {
    showForm();
    const QString dir = makeFolder("view");
    const QString a = makePicture(dir, "a.png"), b = makePicture(dir, "b.bmp");
    commands().AddPictureFile(a);
    commands().AddPictureFile(b);
    commands().UpdateListBox();
    pr::TViewPicForm* viewer = form->viewPicForm();
    ASSERT_NE(viewer, nullptr);

    bool shown = false;
    QTimer::singleShot(0, viewer, [&] {
        shown = viewer->isVisible();
        viewer->backButton()->click();
    });
    sortTab().sortBox()->setCurrentRow(1);
    QTest::keyClick(sortTab().sortBox(), Qt::Key_Return);
    EXPECT_TRUE(shown);
    EXPECT_EQ(viewer->path(), b);
    EXPECT_EQ(album().PreviewFileName, b.toStdString());
    EXPECT_EQ(imageList().currentRow(), 1);

    QFile::remove(a);
    imageList().setCurrentRow(0);
    addTab().albumPanel()->viewButton()->click();  // would block if the viewer opened
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(viewer->path(), b);
    EXPECT_FALSE(viewer->isVisible());
}

TEST(ViewerTest, ZoomRangeAndPaintBoxSize) {
    pr::TViewPicForm viewer;
    QSpinBox* zoom = viewer.zoomEdit();
    EXPECT_EQ(pr::TViewPicForm::zoomedSize(199, 101, 5), QSize(9, 5));

    viewer.setPicture(picture(2, 3), "/nowhere/p.bmp");
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    zoom->setValue(9000);
    EXPECT_TRUE(waitUntil([&] { return viewer.paintBox()->size() == QSize(180, 270); }));
    zoom->setValue(1);  // below the range: held at 5 %
    EXPECT_EQ(zoom->value(), 5);
    EXPECT_TRUE(waitUntil([&] { return viewer.paintBox()->size() == QSize(0, 0); }));
}

TEST(ViewerTest, WheelAndDragScrollThePicture) {
    pr::TViewPicForm viewer;
    // A 30000 x 30000 box: only the visible part may be drawn.
    viewer.setPicture(picture(300, 300), "/nowhere/p.bmp");
    viewer.zoomEdit()->setValue(9000);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_TRUE(waitUntil([&] { return viewer.paintBox()->size() == QSize(27000, 27000); }));
    QScrollBar* v = viewer.scrollBox()->verticalScrollBar();
    QScrollBar* h = viewer.scrollBox()->horizontalScrollBar();
    EXPECT_TRUE(waitUntil([&] { return v->maximum() > 100; }));

    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer.scrollBox()->viewport(), &down);
    QApplication::sendEvent(viewer.scrollBox()->viewport(), &down);
    EXPECT_EQ(v->value(), 40);

    // Grabbing at (100, 100) and moving to (70, 90) pulls the picture along by (30, 10).
    QWidget* box = viewer.paintBox();
    QTest::mousePress(box, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(70, 90), box->mapToGlobal(QPointF(70, 90)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QTest::mouseRelease(box, Qt::LeftButton, Qt::NoModifier, QPoint(70, 90));
    EXPECT_EQ(h->value(), 30);
    EXPECT_EQ(v->value(), 50);
}

TEST(ViewerTest, EachPictureStartsAtItsCornerOrCentredWhenSmaller) {
    pr::TViewPicForm viewer;
    viewer.setPicture(picture(300, 300), "/nowhere/a.bmp");
    viewer.zoomEdit()->setValue(1000);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QScrollBar* v = viewer.scrollBox()->verticalScrollBar();
    QScrollBar* h = viewer.scrollBox()->horizontalScrollBar();
    EXPECT_TRUE(waitUntil([&] { return v->maximum() > 500 && h->maximum() > 500; }));
    h->setValue(400);
    v->setValue(500);

    viewer.setPicture(picture(200, 250), "/nowhere/b.bmp");
    QApplication::processEvents();
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(v->value(), 0);

    viewer.zoomEdit()->setValue(100);
    viewer.setPicture(picture(40, 20), "/nowhere/c.bmp");
    const QWidget* port = viewer.scrollBox()->viewport();
    EXPECT_TRUE(waitUntil([&] {
        const QPoint offset = viewer.paintBox()->geometry().center() - port->rect().center();
        return offset.manhattanLength() <= 2;
    }));
}

TEST(ViewerTest, OpenSaysSoWhenNoProgramIsSetUpForTheType) {
    QTemporaryDir tools;
    const QByteArray path = qgetenv("PATH");
    auto fakeXdgMime = [&](const char* answer) {
        QFile script(tools.filePath("xdg-mime"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\necho '") + answer + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    testsupport::ScriptedPrompter prompter;
    pr::TViewPicForm viewer;
    viewer.setPrompter(&prompter);
    viewer.setPicture(picture(4, 4), "/nowhere/p.xyz");
    int opened = 0;
    bool openerSucceeds = true;
    viewer.setUrlOpener([&](const QUrl&) {
        ++opened;
        return openerSucceeds;
    });
    const struct {
        const char* name;
        const char* xdgMime;  // null: no xdg-mime on the PATH
        bool openerSucceeds;
        int opened;
        bool message;
    } cases[] = {{"no program for the type", "", true, 0, true},
                 {"a program for the type", "bildbetrachter.desktop", true, 1, false},
                 {"the program does not start", "bildbetrachter.desktop", false, 1, true},
                 {"no xdg-mime, nothing started", nullptr, false, 1, true},
                 {"no xdg-mime, started", nullptr, true, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(tools.filePath("xdg-mime"));
        if (c.xdgMime) fakeXdgMime(c.xdgMime);
        qputenv("PATH", tools.path().toLocal8Bit());
        opened = 0;
        openerSucceeds = c.openerSucceeds;
        prompter.shown.clear();
        viewer.openButton()->click();
        qputenv("PATH", path);
        EXPECT_EQ(opened, c.opened);
        ASSERT_EQ(prompter.shown.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(prompter.shown[0].text,
                      QStringLiteral("Für diesen Dateityp ist kein Programm eingerichtet."));
        }
    }
}
