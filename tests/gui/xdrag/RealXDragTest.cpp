// Files dragged from another program with a real X drag (XDND) land in the album: a helper
// program (tests/helpers/UriDragSource.cpp) offers two pictures as text/uri-list, and xdotool
// moves the pointer from it onto the album list, as a hand with a mouse would.

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedPrompter.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/TAddTab.h"
#include "gui/toolkit/StoredValues.h"

namespace {

QString picture(const QTemporaryDir& dir, const QString& name, QColor colour) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

}  // namespace

TEST(RealXDrag, TwoPicturesFromAnotherProgramAreAdded) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server: run under xvfb-run (package xvfb)";
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty()) GTEST_SKIP() << "needs xdotool (package xdotool) to move the pointer";

    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    pr::StoredValues::openSettings()->clear();
    pr::FavouritesList::setFileOverride(scratch.filePath(QStringLiteral("folders.dat")));
    const QString first = picture(scratch, QStringLiteral("erstes.png"), Qt::red);
    const QString second = picture(scratch, QStringLiteral("zweites.bmp"), Qt::blue);

    testsupport::ScriptedPrompter prompter;
    auto form = std::make_unique<pr::TMainForm>(&prompter);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    pr::AlbumList* list = form->findChild<pr::TAddTab*>()->albumPanel()->imageList();
    const QPoint target = list->viewport()->mapToGlobal(list->viewport()->rect().center());

    QProcess source;
    source.start(QStringLiteral(PR_DRAG_SOURCE_PATH), {first, second});
    ASSERT_TRUE(source.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return source.canReadLine(); }, 10000));
    const QList<QByteArray> ready = source.readLine().trimmed().split(' ');
    ASSERT_EQ(ready.size(), 3);
    ASSERT_EQ(ready[0], "bereit");
    const QPoint grab(ready[1].toInt(), ready[2].toInt());

    // Press on the source, move in steps onto the album list, release there.
    const auto at = [](QPoint p) {
        return QStringList{"mousemove", QString::number(p.x()), QString::number(p.y())};
    };
    QStringList steps = at(grab) + QStringList{"sleep", "0.3", "mousedown", "1", "sleep", "0.3"};
    for (int i = 1; i <= 5; ++i)
        steps += at(grab + (target - grab) * i / 5) + QStringList{"sleep", "0.2"};
    steps += at(target + QPoint(3, 3)) + QStringList{"sleep", "0.5", "mouseup", "1"};
    QProcess pointer;
    pointer.start(xdotool, steps);
    ASSERT_TRUE(pointer.waitForStarted());

    EXPECT_TRUE(QTest::qWaitFor([&] { return form->album().PictureCount() == 2; }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pointer.state() == QProcess::NotRunning; }, 10000));
    ASSERT_EQ(form->album().PictureCount(), 2);
    EXPECT_EQ(QString::fromStdString(form->album().Pictures[0].FileName), first);
    EXPECT_EQ(QString::fromStdString(form->album().Pictures[1].FileName), second);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("erstes.png"));
    EXPECT_TRUE(prompter.shown.empty());

    source.waitForFinished(10000);
    prompter.answer(pr::Prompter::Button::Ok);
    form.reset();
    pr::FavouritesList::setFileOverride(QString());
}
