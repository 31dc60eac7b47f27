#include <QApplication>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "BrowseFixture.h"
#include "gui/browse/FileTypeBox.h"

using testsupport::ScriptedPrompter;

namespace {

QString cannotLoad(const QString& path) {
    return QStringLiteral("Fehler: Die Datei %1 konnte nicht geladen werden!").arg(path);
}

pr::Placement* addPlacement(pr::Album& album, int32_t key, int32_t page) {
    auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
    p->ImageKey = key;
    p->Page = page;
    return p;
}

std::vector<int32_t> placementKeys(const pr::Album& album) {
    std::vector<int32_t> keys;
    for (uint32_t i = 0; i < album.placementCount(); ++i)
        keys.push_back(album.placementAt(i)->ImageKey);
    return keys;
}

}  // namespace

TEST_F(BrowseFixture, AddingMarkedFilesKeepsListOrderAndMovesTheFolderUp) {
    showForm();
    const QString dir = makeFolder("pics");
    makePicture(dir, "b.png");
    makePicture(dir, "a.bmp");
    makeDamaged(dir, "c.bmp");  // marked too, but not a picture
    makePicture(dir, "d.bmp");
    QDir().mkdir(dir + "/sub");
    openFolder(dir, {"sub", "a.bmp", "b.png", "c.bmp", "d.bmp"});
    selectInFileList({"d.bmp", "sub", "c.bmp", "a.bmp", "b.png"});

    addTab().albumPanel()->addButton()->click();

    // Folders are left out; the damaged file is reported once and skipped, the others get
    // consecutive keys in list order.
    ASSERT_EQ(album().PictureCount(), 3);
    const char* added[] = {"a.bmp", "b.png", "d.bmp"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(album().Pictures[i].FileName, (dir + "/" + added[i]).toStdString());
        EXPECT_EQ(album().Pictures[i].Key, i);
    }
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, cannotLoad(dir + "/c.bmp"));
    EXPECT_EQ(albumLines(), QStringList({"a.bmp", "b.png", "d.bmp"}));
    EXPECT_EQ(imageList().selectedItems().size(), 1);
    EXPECT_TRUE(imageList().item(0)->isSelected());
    EXPECT_EQ(sortTab().sortBox()->count(), 3);
    EXPECT_EQ(addTab().favourites()->item(0)->text(), dir + "/");
    EXPECT_EQ(fileBytes(favouritesFile()), (dir + "/\n").toUtf8());
}

TEST_F(BrowseFixture, OnlyUnreadableFilesAddNothingAndLeaveTheFavourites) {
    showForm();
    const QString dir = makeFolder("bad");
    makeDamaged(dir, "x.bmp");
    makeDamaged(dir, "y.png");
    openFolder(dir, {"x.bmp", "y.png"});
    selectInFileList({"x.bmp", "y.png"});
    const std::string preview = album().PreviewFileName;

    addTab().albumPanel()->addButton()->click();

    EXPECT_EQ(album().PictureCount(), 0);
    EXPECT_EQ(album().NextPictureKey, 0);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, cannotLoad(dir + "/x.bmp"));
    EXPECT_EQ(prompter.shown[1].text, cannotLoad(dir + "/y.png"));
    EXPECT_EQ(addTab().favourites()->count(), 0);
    EXPECT_FALSE(QFile::exists(favouritesFile()));
    EXPECT_EQ(album().PreviewFileName, preview);
}

TEST_F(BrowseFixture, FileListFilterMatchesWithoutRegardToCase) {
    showForm();
    const QString dir = makeFolder("mixed");
    makePicture(dir, "a.jpg.bmp");
    makeDamaged(dir, "x.JPG");
    makeDamaged(dir, "y.jpg");
    makeDamaged(dir, "z.txt");
    QDir().mkdir(dir + "/sub");
    ASSERT_TRUE(addTab().folderTree()->setSelectedFolder(dir));
    addTab().fileList()->setFilter("*.jpg");
    const QStringList jpgs{"sub", "x.JPG", "y.jpg"}, all{"sub", "a.jpg.bmp", "x.JPG", "y.jpg"};
    EXPECT_TRUE(waitUntil([&] { return addTab().fileList()->shownNames() == jpgs; }))
        << addTab().fileList()->shownNames().join(' ').toStdString();
    // The box starts with its first entry, every readable type in both cases.
    addTab().setupFileTypeFilter();
    EXPECT_TRUE(waitUntil([&] { return addTab().fileList()->shownNames() == all; }))
        << addTab().fileList()->shownNames().join(' ').toStdString();
}

TEST(FileTypeBoxTest, FilterTextGivesDescriptionsMasksAndAFallback) {
    pr::FileTypeBox box;
    QStringList masks;
    QObject::connect(&box, &pr::FileTypeBox::maskChanged, [&](const QString& m) { masks << m; });
    box.setFilterText("Alle|*.a;*.A|Nur B|*.b|kaputt");
    EXPECT_EQ(box.itemText(1), "Nur B");
    EXPECT_EQ(masks, QStringList({"*.a;*.A"}));
    box.setCurrentIndex(-1);
    EXPECT_EQ(box.currentMask(), "*.b");  // nothing chosen: the last entry
    box.setFilterText(QString());
    EXPECT_EQ(box.currentMask(), "*.*");
    EXPECT_EQ(pr::maskPatterns("*.*"), QStringList({"*"}));
}

TEST_F(BrowseFixture, PreviewFailureMessageUsesALongLibraryMessageAsText) {
    using Message = std::pair<QString, QString>;
    EXPECT_EQ(pr::AlbumCommands::previewFailure("/p/a.bmp", "12345"),
              Message("Fehler", cannotLoad("/p/a.bmp")));
    EXPECT_EQ(pr::AlbumCommands::previewFailure("/p/a.bmp", "123456"),
              Message(cannotLoad("/p/a.bmp"), "123456"));

    showForm();
    const QString dir = makeFolder("prev");
    const QString good = makePicture(dir, "good.png");
    const QString bad = makeDamaged(dir, "bad.png");
    ASSERT_TRUE(commands().openfilenow(good));
    EXPECT_EQ(album().PreviewImage.width(), 8);
    EXPECT_FALSE(commands().openfilenow(bad));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, ScriptedPrompter::Icon::None);
    EXPECT_EQ(album().PreviewFileName, good.toStdString());
    EXPECT_EQ(album().PreviewImage.width(), 8);
}

TEST_F(BrowseFixture, DoubleClickInFileListOpensFoldersAndPreviewsFiles) {
    showForm();
    const QString dir = makeFolder("dbl");
    makePicture(dir, "p.png");
    makePicture(makeFolder("dbl/inner"), "q.bmp");
    openFolder(dir, {"inner", "p.png"});
    pr::FileList* list = addTab().fileList();

    selectInFileList({"p.png"});
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(album().PreviewFileName, (dir + "/p.png").toStdString());
    EXPECT_EQ(album().PictureCount(), 0);  // previewed, not added

    selectInFileList({"inner"});
    list->setCurrentIndex(list->fileModel()->index(dir + "/inner"));
    emit list->doubleClicked(list->currentIndex());
    EXPECT_EQ(addTab().folderTree()->SelectedFolder(), dir + "/inner");
    EXPECT_TRUE(waitUntil([&] { return list->shownNames() == QStringList({"q.bmp"}); }));
}

TEST_F(BrowseFixture, RemovingPicturesTakesTheirPlacementsAndPullsTheSelectionBack) {
    showForm();
    const QString dir = makeFolder("five");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(commands().AddPictureFile(makePicture(dir, QString("p%1.bmp").arg(i))));
    commands().UpdateListBox();
    // Placements of pictures 1 and 3 on two pages, others in between; the last one selected.
    for (auto [key, page] : {std::pair{0, 1}, {1, 1}, {2, 2}, {1, 2}, {4, 1}, {3, 3}})
        addPlacement(album(), key, page);
    album().SelectedPlacement = 5;

    imageList().clearSelection();
    imageList().item(1)->setSelected(true);
    imageList().item(3)->setSelected(true);
    addTab().albumPanel()->deleteButton()->click();

    EXPECT_EQ(albumLines(), QStringList({"p0.bmp", "p2.bmp", "p4.bmp"}));
    EXPECT_EQ(album().Pictures[1].Key, 2);
    EXPECT_EQ(placementKeys(album()), (std::vector<int32_t>{0, 2, 4}));
    EXPECT_EQ(album().SelectedPlacement, 2);

    // The Delete key does the same; removing every picture leaves no selection.
    for (int i = 0; i < imageList().count(); ++i) imageList().item(i)->setSelected(true);
    QTest::keyClick(&imageList(), Qt::Key_Delete);
    EXPECT_EQ(album().PictureCount(), 0);
    EXPECT_EQ(album().placementCount(), 0u);
    EXPECT_EQ(album().SelectedPlacement, -1);
    EXPECT_FALSE(addTab().albumPanel()->viewButton()->isEnabled());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(BrowseFixture, NewAsksAndKeepsTheNextPictureKey) {
    showForm();
    const QString dir = makeFolder("neu");
    commands().AddPictureFile(makePicture(dir, "a.bmp"));
    commands().AddPictureFile(makePicture(dir, "b.bmp"));
    commands().UpdateListBox();
    form->Setsavedfilename(dir + "/x.pxr");

    form->newAction()->trigger();  // answered Cancel
    EXPECT_EQ(album().PictureCount(), 2);

    prompter.answer(ScriptedPrompter::Button::Ok);
    form->newAction()->trigger();
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(album().PictureCount(), 0);
    EXPECT_TRUE(album().AlbumFileName.empty());
    EXPECT_TRUE(albumLines().isEmpty());
    commands().AddPictureFile(dir + "/a.bmp");
    EXPECT_EQ(album().Pictures[0].Key, 2);
}

TEST_F(BrowseFixture, DropFromTheFileListAddsItsSelection) {
    showForm();
    const QString dir = makeFolder("drag");
    makePicture(dir, "a.bmp");
    makePicture(dir, "b.bmp");
    openFolder(dir, {"a.bmp", "b.bmp"});
    selectInFileList({"b.bmp", "a.bmp"});
    emit imageList().droppedFromFileList();
    EXPECT_EQ(albumLines(), QStringList({"a.bmp", "b.bmp"}));
}

TEST_F(BrowseFixture, DropOfLocalFileUrlsFromOutsideAddsThem) {
    showForm();
    const QString one = makeFolder("one"), two = makeFolder("two");
    const QString b = makePicture(two, "b.png"), a = makePicture(one, "a.bmp");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(one),
                  QUrl("https://example.org/c.png"), QUrl::fromLocalFile(a)});
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(imageList().viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(imageList().viewport(), &drop);

    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(albumLines(), QStringList({"b.png", "a.bmp"}));
    EXPECT_EQ(album().Pictures[1].Key, 1);
    EXPECT_EQ(addTab().favourites()->item(0)->text(), one + "/");
    EXPECT_EQ(addTab().favourites()->item(1)->text(), two + "/");
}
