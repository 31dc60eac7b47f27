#include <QSignalSpy>

#include "BrowseFixture.h"

#include <QKeyEvent>
#include <QStandardPaths>

TEST_F(BrowseFixture, FavouritesAreReadAtStartAndTheFirstOneIsShown) {
    const QString first = makeFolder("fav one"), second = makeFolder("fav two");
    QFile file(favouritesFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((first + "/\r\n\r\n" + second + "/").toUtf8());  // an empty favourite, no last CR LF
    file.close();

    showForm();
    pr::FavouritesList* favs = addTab().favourites();
    ASSERT_EQ(favs->count(), 3);
    EXPECT_EQ(favs->item(1)->text(), "");
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), first);

    // Choosing a favourite selects its folder and keeps the order.
    favs->setCurrentRow(2);
    QTest::keyClick(favs, Qt::Key_Return);
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), second);
    EXPECT_EQ(favs->item(2)->text(), second + "/");

    // Adding from a folder puts it first, once, and rewrites the file with a line end after each
    // line (the platform's).
    EXPECT_TRUE(favs->AddToPrefFolders(second + "/"));
    EXPECT_TRUE(favs->AddToPrefFolders(second + "/"));
    EXPECT_EQ(favs->count(), 3);
    EXPECT_EQ(fileBytes(favouritesFile()), (second + "/\n" + first + "/\n\n").toUtf8());
    // Exact comparison: another spelling is another favourite.
    EXPECT_TRUE(favs->AddToPrefFolders(second.toUpper() + "/"));
    EXPECT_EQ(favs->count(), 4);
}

TEST_F(BrowseFixture, WithoutFavouritesBrowsingStartsWhereTheUserBrowsedLastElseAtThePictures) {
    // Never in the program's own folder: on Linux that is a build or system folder.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString fresh = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    showForm();
    EXPECT_EQ(addTab().favourites()->count(), 0);
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), fresh);

    // The folder browsed last is kept for the next start, as long as it exists.
    const QString last = makeFolder("zuletzt");
    ASSERT_TRUE(addTab().folderTree()->setSelectedFolder(last));
    prompter.answer(pr::Prompter::Button::Ok);
    ASSERT_TRUE(form->close());
    form.reset();
    showForm();
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), last);
    ASSERT_TRUE(QDir(last).removeRecursively());
    prompter.answer(pr::Prompter::Button::Ok);
    ASSERT_TRUE(form->close());
    form.reset();
    showForm();
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), fresh);
}

TEST_F(BrowseFixture, TheFolderWhereBrowsingStartsIsScrolledIntoView) {
    // Deep below the temporary folder, which lists many folders before it: a favourite, and a
    // home folder without pictures folder when there is no favourite.
    const QString deep = makeFolder("x/y/z");
    const QByteArray home = qgetenv("HOME");
    for (bool favourite : {true, false}) {
        SCOPED_TRACE(favourite ? "favourite" : "home");
        QFile file(favouritesFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (favourite) file.write((deep + "/\r\n").toUtf8());
        file.close();
        if (!favourite) qputenv("HOME", deep.toLocal8Bit());
        showForm();
        qputenv("HOME", home);
        pr::FolderTree* tree = addTab().folderTree();
        ASSERT_EQ(tree->SelectedFolder(), deep);
        // The model reads and sorts the folders above in the background; each step moves the
        // rows below.
        QTest::qWait(1500);
        EXPECT_TRUE(waitUntil(
            [&] {
                return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()));
            },
            500));
        prompter.answer(pr::Prompter::Button::Ok);
        form.reset();
    }
}

TEST_F(BrowseFixture, UnwritableFavouritesFileKeepsTheSessionsList) {
    const QString blocker = scratch.filePath("blocker");
    QFile(blocker).open(QIODevice::WriteOnly);  // a file where the folder should be
    pr::FavouritesList::setFileOverride(blocker + "/folders.dat");
    showForm();
    pr::FavouritesList* favs = addTab().favourites();
    EXPECT_FALSE(favs->AddToPrefFolders("/a/"));
    EXPECT_FALSE(favs->AddToPrefFolders("/b/"));
    EXPECT_EQ(favs->count(), 2);  // the session's list is kept, newest first
    EXPECT_EQ(favs->item(0)->text(), "/b/");
}

TEST_F(BrowseFixture, AVanishingFolderLeavesTheTreeOnItsParent) {
    showForm();
    const QString parent = makeFolder("outer");
    const QString inner = makeFolder("outer/a");
    makeFolder("outer/b");
    // The model watches a folder from the moment it has read it: the removal is noticed once the
    // folder that holds `inner` was read.
    QSignalSpy loaded(addTab().folderTree()->fileModel(), &QFileSystemModel::directoryLoaded);
    ASSERT_TRUE(addTab().folderTree()->setSelectedFolder(inner));
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const QList<QVariant>& args : loaded)
                if (QDir::cleanPath(args.value(0).toString()) == QDir::cleanPath(parent))
                    return true;
            return false;
        },
        20000));
    ASSERT_TRUE(QDir(inner).removeRecursively());
    EXPECT_TRUE(waitUntil([&] { return addTab().folderTree()->SelectedFolder() == parent; }, 8000));
    EXPECT_EQ(addTab().fileList()->folder(), parent);
}
