// Undo and redo in the window: adding, removing and ordering pictures, the toolbar buttons, the
// unsaved star, and what clears the history.

#include <QAction>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>

#include "../app/GuiTestHelpers.h"
#include "UndoFixture.h"
#include "core/album/PlacementsSnapshot.h"
#include "core/layout/PlacementEditing.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumFileCommands.h"
#include "gui/album/TSortTab.h"
#include "gui/browse/FavouritesList.h"
#include "gui/layout/BildPopup.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/TLayoutTab.h"

using pr::Prompter;
using undotest::albumState;

namespace {

class AlbumUndo : public ShownFormFixture {
protected:
    pr::Album& album() { return form->album(); }
    pr::AlbumHistory& history() { return *form->history(); }
    pr::AlbumCommands& commands() { return *form->findChild<pr::AlbumCommands*>(); }
    pr::TSortTab& sortTab() { return *form->findChild<pr::TSortTab*>(); }
    QString picture(const char* name, QColor colour, int w = 40, int h = 30) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = scratch.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    void add(const QStringList& paths) {
        ASSERT_EQ(commands().addPictureFiles(paths), paths.size());
        commands().UpdateListBox();
    }
    void placeEach() {
        for (const pr::AlbumImage& p : album().Pictures)
            pr::AddPlacement(album(), p.Key, 1, 0.5, 0.5, 2, 1.5, false);
    }
    bool starred() const { return form->windowTitle().endsWith(QStringLiteral("*]")); }
};

TEST_F(AlbumUndo, AddingRemovingAndOrderingPicturesUndoAndRedoByteForByte) {
    add({picture("a.png", Qt::red), picture("b.png", Qt::green)});
    placeEach();
    album().SelectedPlacement = 1;
    std::vector<std::vector<uint8_t>> states{albumState(album())};
    const std::function<void()> changes[] = {
        [&] { add({picture("c.png", Qt::blue, 30, 40)}); },
        [&] {
            sortTab().sortBox()->setCurrentRow(2);
            sortTab().upButton()->click();
        },
        [&] {
            commands().removePictures({0, 2});
        },  // with their placements
        [&] {
            add({picture("e.png", Qt::yellow), picture("d.png", Qt::cyan)});
        },
        [&] { sortTab().findChild<QPushButton*>(QStringLiteral("SortNameBtn"))->click(); },
    };
    for (const auto& change : changes) {
        change();
        states.push_back(albumState(album()));
        ASSERT_NE(states.back(), states[states.size() - 2]);
    }
    ASSERT_EQ(history().stack().count(), 1 + static_cast<int>(std::size(changes)));
    for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
        history().undo();
        EXPECT_EQ(albumState(album()), states[static_cast<size_t>(i)]) << "undo to " << i;
    }
    // Pictures that came back were read from their files again.
    for (const pr::AlbumImage& p : album().Pictures) EXPECT_EQ(p.width(), 40) << p.FileName;
    for (size_t i = 1; i < states.size(); ++i) {
        history().redo();
        EXPECT_EQ(albumState(album()), states[i]) << "redo to " << i;
    }
    EXPECT_TRUE(prompter.shown.empty());
    // The lists show the album as it is now.
    EXPECT_EQ(sortTab().sortBox()->count(), album().PictureCount());
}

TEST_F(AlbumUndo, UndoingAnAddLetsThePixelsGoAndGivesTheKeysBack) {
    const int32_t keyBefore = album().NextPictureKey;
    add({picture("a.png", Qt::red)});
    std::weak_ptr<const pr::PictureSource> source = album().Pictures[0].Source;
    history().undo();
    EXPECT_EQ(album().PictureCount(), 0);
    EXPECT_EQ(album().NextPictureKey, keyBefore);
    EXPECT_TRUE(source.expired());
    history().redo();
    ASSERT_EQ(album().PictureCount(), 1);
    EXPECT_TRUE(album().Pictures[0].hasPixels());
    EXPECT_EQ(album().Pictures[0].Key, keyBefore);
    EXPECT_EQ(album().NextPictureKey, keyBefore + 1);
}

TEST_F(AlbumUndo, APictureWhoseFileWentComesBackAsAPlaceholderAndIsNamed) {
    const QString path = picture("weg.png", Qt::red);
    add({path});
    placeEach();
    const auto before = albumState(album());
    commands().removePictures({0});
    ASSERT_TRUE(QFile::remove(path));
    history().undo();
    EXPECT_EQ(albumState(album()), before);  // entry and placement whole, so saving keeps them
    ASSERT_EQ(album().PictureCount(), 1);
    EXPECT_EQ(album().Pictures[0].width(), 320);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].text.contains(path));
}

TEST_F(AlbumUndo, TheStarFollowsUndoBackToTheSavedAlbum) {
    add({picture("a.png", Qt::red)});
    ASSERT_TRUE(form->findChild<pr::AlbumFileCommands*>()->SaveFile(scratch.filePath("x.pxr")));
    EXPECT_FALSE(starred());
    form->layoutTab()->editor().SelectPlacement(-1);
    form->layoutTab()->editor().PaintBox1DblClick();  // a placement: changed
    EXPECT_TRUE(starred());
    form->undoAction()->trigger();
    EXPECT_FALSE(starred());
    form->redoAction()->trigger();
    EXPECT_TRUE(starred());
    // Saving keeps the history; undoing the adding after it is a change again.
    ASSERT_TRUE(form->findChild<pr::AlbumFileCommands*>()->SaveBtnClick());
    EXPECT_FALSE(starred());
    EXPECT_EQ(history().stack().count(), 2);
    form->undoAction()->trigger();
    form->undoAction()->trigger();
    EXPECT_TRUE(starred());
    EXPECT_EQ(album().PictureCount(), 0);
}

TEST_F(AlbumUndo, NewAndOpenClearTheHistoryAndWorkUnderWayRefusesUndo) {
    add({picture("a.png", Qt::red)});
    {
        const pr::TMainForm::AlbumChange changing(*form);
        form->undoAction()->trigger();
        EXPECT_EQ(album().PictureCount(), 1);
    }
    // A drag on the page: the rubber band shows the placement being dragged.
    pr::TLayoutTab& tab = *form->layoutTab();
    tab.editor().PaintBox1DblClick();
    tab.ZoomEd->setValue(100);
    tab.editor().PaintBox2MouseDown(QPoint(50, 50), Qt::LeftButton, QPoint());
    ASSERT_TRUE(tab.editor().dragging());
    form->undoAction()->trigger();
    EXPECT_EQ(album().placementCount(), 1u);
    tab.editor().PaintBox2MouseUp(QPoint(50, 50));

    auto& files = *form->findChild<pr::AlbumFileCommands*>();
    ASSERT_TRUE(files.SaveFile(scratch.filePath("x.pxr")));
    EXPECT_TRUE(history().stack().canUndo());
    ASSERT_TRUE(files.OpenFile(scratch.filePath("x.pxr")));
    EXPECT_FALSE(history().stack().canUndo());

    add({picture("b.png", Qt::green)});
    prompter.answer(Prompter::Button::Ok);
    form->newAction()->trigger();
    EXPECT_FALSE(history().stack().canUndo());
    EXPECT_FALSE(form->undoAction()->isEnabled());
}

TEST_F(AlbumUndo, ToolbarButtonsWithShortcutsHintsAndThePopupMenu) {
    QAction* undo = form->undoAction();
    QAction* redo = form->redoAction();
    EXPECT_TRUE(form->toolBar()->actions().contains(undo));
    EXPECT_TRUE(form->toolBar()->actions().contains(redo));
    EXPECT_EQ(undo->text(), QStringLiteral("Rückgängig"));
    EXPECT_EQ(redo->text(), QStringLiteral("Wiederholen"));
    EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                   QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const QList<QAction*> popup = form->layoutTab()->editor().popup()->actions();
    EXPECT_TRUE(popup.contains(undo) && popup.contains(redo));

    add({picture("a.png", Qt::red)});
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(undo->toolTip().contains(QStringLiteral("Bilder hinzufügen")));
    undo->trigger();
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_TRUE(redo->toolTip().contains(QStringLiteral("Bilder hinzufügen")));

    // The keys, wherever the focus is outside a text field.
    form->activateWindow();
    form->pageControl()->setFocus();
    QTest::keyClick(form->pageControl(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(album().PictureCount(), 1);
    QTest::keyClick(form->pageControl(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(album().PictureCount(), 0);
    QTest::keyClick(form->pageControl(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(album().PictureCount(), 1);
}

}  // namespace
