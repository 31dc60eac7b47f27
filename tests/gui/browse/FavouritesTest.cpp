#include <QSignalSpy>

#include "BrowseFixture.h"

#include <QKeyEvent>

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

    // Adding from a folder puts it first, once, and rewrites the file with CR LF after each line.
    EXPECT_TRUE(favs->AddToPrefFolders(second + "/"));
    EXPECT_TRUE(favs->AddToPrefFolders(second + "/"));
    EXPECT_EQ(favs->count(), 3);
    EXPECT_EQ(fileBytes(favouritesFile()), (second + "/\r\n" + first + "/\r\n\r\n").toUtf8());
    // Exact comparison: another spelling is another favourite.
    EXPECT_TRUE(favs->AddToPrefFolders(second.toUpper() + "/"));
    EXPECT_EQ(favs->count(), 4);
}

TEST_F(BrowseFixture, WithoutFavouritesTheTreeShowsTheProgramFolder) {
    showForm();
    EXPECT_EQ(addTab().favourites()->count(), 0);
    EXPECT_EQ(addTab().folderTree()->SelectedFolder() + "/", form->ProgramFolder());
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
