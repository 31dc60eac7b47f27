#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "AlbumFileTestSupport.h"
#include "TestSupport.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/AlbumFileWriter.h"

using namespace pr;
using albumtest::Bytes;
using albumtest::FakePictures;

namespace {

const OldPageGeometry kPrinter{4800, 6600, 600};

void addPicture(Album& album, const std::string& path, int32_t rotation = 0,
                const std::string& comment = "") {
    ImageBuffer img;
    newdib(img, 3, 2, 24);
    album.addPicture(path, img);
    album.Pictures.back().Rotation = rotation;
    album.Pictures.back().Comment = comment;
}

void touch(const std::string& path) {
    testsupport::writeAll(path, {0});
}

AlbumOpenResult open(const std::string& path, Album& album, FakePictures& pictures) {
    return openAlbumFile(path, album, AlbumSettings{}, kPrinter, pictures.source());
}

}  // namespace

TEST(AlbumFileApply, StoredTurnsAreAppliedAndKept) {
    AlbumFileContent c;
    FakePictures pictures;
    for (int32_t rotation : {0, 1, 2, 3}) {
        c.Pictures.push_back({"/p/" + std::to_string(rotation), rotation, rotation, ""});
        pictures.declared.insert(c.Pictures.back().FileName);
    }
    Album album;
    ASSERT_TRUE(applyAlbumFile(c, "/p/a.pxr", album, pictures.source()).ok);
    EXPECT_EQ(pictures.turns, "RRRL");  // 1: right, 2: right twice, 3: left
    for (int i = 0; i < 4; ++i) EXPECT_EQ(album.Pictures[i].Rotation, i);

    // A turn that cannot be made leaves the picture as read, and Rotation says so.
    pictures.turnsFail = true;
    ASSERT_TRUE(applyAlbumFile(c, "/p/a.pxr", album, pictures.source()).ok);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(album.Pictures[i].Rotation, 0);
}

TEST(AlbumFileApply, MissingPictureBecomesPlaceholderAndIsSavedAgain) {
    testsupport::TempDir dir;
    touch(dir.file("da.jpg"));
    AlbumFileContent c;
    c.Pictures = {{dir.file("weg.jpg"), 2, 7, "Notiz"}, {dir.file("da.jpg"), 0, 8, ""}};
    FakePictures pictures;
    Album album;
    const AlbumApplyResult r = applyAlbumFile(c, dir.file("a.pxr"), album, pictures.source());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.messages, std::vector<std::string>{"Konnte das Bild weg.jpg nicht öffnen!"});
    const ImageBuffer& placeholder = album.Pictures[0].Image;
    EXPECT_EQ(placeholder.width() * 1000 + placeholder.height(), 320 * 1000 + 200);
    EXPECT_EQ(placeholder.bitCount(), 24);
    EXPECT_EQ(pictures.turns, "");
    const std::vector<uint8_t> saved =
        encodeAlbumFile(albumFileContentOf(album, AlbumSettings{}), dir.file("a.pxr"));
    Bytes entry;
    entry.counted("weg.jpg").i32(2).i32(7).counted("Notiz");
    EXPECT_NE(std::search(saved.begin(), saved.end(), entry.b.begin(), entry.b.end()), saved.end());
}

TEST(AlbumFileApply, AlbumFindsItsPicturesInItsOwnFolder) {
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.path() / "alt");
    touch(dir.file("alt/eins.jpg"));
    Album album;
    addPicture(album, dir.file("alt/eins.jpg"));
    ASSERT_TRUE(saveAlbumFile(dir.file("alt/album.pxr"), album, AlbumSettings{}).ok);
    std::filesystem::copy(dir.path() / "alt", dir.path() / "neu");
    std::filesystem::remove_all(dir.path() / "alt");
    FakePictures pictures;
    ASSERT_TRUE(open(dir.file("neu/album.pxr"), album, pictures).messages.empty());
    EXPECT_EQ(album.Pictures[0].FileName, dir.file("neu/eins.jpg"));

    // Written on Windows: paths with backslashes in Windows-1252, found by file name.
    touch(dir.file("neu/M\xC3\xBCller.jpg"));
    Bytes f = Bytes::header40(2, 2);
    f.counted(
         "C:\\Eigene Dateien\\M\xFC"
         "ller.jpg")
        .i32(0)
        .i32(0)
        .counted("");
    f.counted("D:\\weg\\fort.jpg").i32(0).i32(1).counted("");
    testsupport::writeAll(dir.file("neu/win.pxr"), f.b);
    const AlbumOpenResult r = open(dir.file("neu/win.pxr"), album, pictures);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(album.Pictures[0].FileName, dir.file("neu/M\xC3\xBCller.jpg"));
    EXPECT_EQ(album.Pictures[1].FileName, "D:\\weg\\fort.jpg");  // nowhere: kept as stored
    EXPECT_EQ(r.messages, std::vector<std::string>{"Konnte das Bild fort.jpg nicht öffnen!"});
}

TEST(AlbumFileApply, UnreadableFileChangesNothing) {
    testsupport::TempDir dir;
    Album album;
    addPicture(album, "/x/keep.jpg", 1, "bleibt");
    const Placement p = albumtest::placement(1, 1, 1, 1, 1, 0, 0);
    std::memcpy(album.Placements.Append(), &p, sizeof p);
    album.SelectedPlacement = 0;
    album.AlbumFileName = "/x/old.pxr";
    const std::vector<uint8_t> before =
        encodeAlbumFile(albumFileContentOf(album, AlbumSettings{}), "/x/old.pxr");

    AlbumFileContent c;
    c.Pictures = {{"/y/new.jpg", 0, 3, ""}};
    std::vector<uint8_t> cut = encodeAlbumFile(c, dir.file("kurz.pxr"));
    cut.pop_back();
    testsupport::writeAll(dir.file("kurz.pxr"), cut);
    testsupport::writeAll(dir.file("fremd.pxr"), {'G', 'I', 'F', '8', '9', 'a'});
    for (const char* name : {"kurz.pxr", "fremd.pxr", "fehlt.pxr"}) {
        FakePictures pictures;
        const AlbumOpenResult r = open(dir.file(name), album, pictures);
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(pictures.attempts.empty());
        EXPECT_FALSE(album.AlbumLoading);
        EXPECT_EQ(album.AlbumFileName, "/x/old.pxr");
        EXPECT_EQ(encodeAlbumFile(albumFileContentOf(album, AlbumSettings{}), "/x/old.pxr"),
                  before);
    }
}

TEST(AlbumFileApply, EmptyAlbumAndOrphanPlacements) {
    Album album;
    addPicture(album, "/x/old.jpg");
    AlbumFileContent c;
    c.Version = AlbumFileVersion::V3_0;
    c.Placements = {albumtest::placement(1, 1, 1, 1, 1, 77, 0)};
    FakePictures pictures;
    const AlbumApplyResult r = applyAlbumFile(c, "/x/a.pxr", album, pictures.source());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(album.PictureCount(), 0);
    EXPECT_EQ(album.placementCount(), 1u);  // kept, so saving again keeps it
    EXPECT_EQ(r.orphanPlacements, 1);
    EXPECT_FALSE(r.runQualityCheck);  // only 4.0 albums raise their pictures
}

TEST(AlbumFileApply, ParallelLoadingKeepsAlbumOrder) {
    AlbumFileContent c;
    FakePictures pictures;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        c.Pictures.push_back({"/p/" + std::to_string(i) + ".jpg", i % 4, i, ""});
        if (i % 3 != 0)
            pictures.declared.insert(c.Pictures.back().FileName);
        else
            expected.push_back("Konnte das Bild " + std::to_string(i) + ".jpg nicht öffnen!");
    }
    Album album;
    const AlbumApplyResult r = applyAlbumFile(c, "/q/a.pxr", album, pictures.source(), 4);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.messages, expected);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(album.Pictures[i].FileName, c.Pictures[i].FileName);
}

// Running out of memory half-way leaves an empty, untitled album: "Speichern" must not be able to
// write it over the file that was being opened.
TEST(AlbumFileApply, OutOfMemoryLeavesAnUntitledAlbum) {
    Album album;
    album.AlbumFileName = "/x/old.pxr";
    album.Placements.setAllocator([](std::size_t) -> void* { return nullptr; });
    AlbumFileContent c;
    c.Placements = {albumtest::placement(1, 1, 1, 1, 1, 0, 0)};
    c.Pictures = {{"/x/a.jpg", 0, 0, ""}};
    FakePictures pictures;
    pictures.declared.insert("/x/a.jpg");
    const AlbumApplyResult r = applyAlbumFile(c, "/x/new.pxr", album, pictures.source());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(album.PictureCount(), 0);
    EXPECT_TRUE(album.AlbumFileName.empty());
    EXPECT_FALSE(album.AlbumLoading);
}

// A picture whose loading throws (memory running out inside a reader) is missing like one that is
// not there, with its message; the others load, whether one thread or several load them.
TEST(AlbumFileApply, APictureWhoseLoadingThrowsIsMissingAndTheOthersLoad) {
    AlbumFileContent c;
    for (int i = 0; i < 6; ++i)
        c.Pictures.push_back({"/p/" + std::to_string(i) + ".jpg", 0, i, ""});
    for (unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        AlbumPictureSource source;
        source.load = [](const std::string& path, ImageBuffer& out) -> bool {
            if (path == "/p/1.jpg") throw std::bad_alloc();
            if (path == "/p/4.jpg") throw std::runtime_error("reader");
            return newdib(out, 3, 2, 24);
        };
        Album album;
        const AlbumApplyResult r = applyAlbumFile(c, "/q/a.pxr", album, source, threads);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.messages, (std::vector<std::string>{"Konnte das Bild 1.jpg nicht öffnen!",
                                                        "Konnte das Bild 4.jpg nicht öffnen!"}));
        ASSERT_EQ(album.PictureCount(), 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(album.Pictures[i].FileName, c.Pictures[i].FileName);
            EXPECT_EQ(album.Pictures[i].Image.width(), i == 1 || i == 4 ? 320 : 3) << i;
        }
    }
}
