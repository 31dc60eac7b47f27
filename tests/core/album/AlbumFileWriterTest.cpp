#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "AlbumFileTestSupport.h"
#include "TestSupport.h"
#include "core/album/AlbumFileReader.h"
#include "core/album/AlbumFileWriter.h"

using namespace pr;
using albumtest::Bytes;

namespace {

const char kSaveFailed[] =
    "Pixo-Rahmler Datei speichern: Konnte die Datei album.pxr nicht erstellen!";

// Two pictures (one beside the album, one elsewhere), two placements, nothing at its default.
void fillSmallAlbum(Album& album) {
    ImageBuffer img;
    newdib(img, 2, 2, 24);
    album.NextPictureKey = 5;
    album.addPicture("/fotos/urlaub/a.jpg", img);  // key 5
    album.addPicture("/elsewhere/b.png", img);     // key 6
    album.Pictures[0].Rotation = 3;
    album.Pictures[0].Comment = "Strand";
    Placement p = albumtest::placement(1.5, 2.25, 4, 3, 2, 6, 1);
    p.Reserved[3] = 0xAB;  // stored as it lies in memory
    std::memcpy(album.Placements.Append(), &p, sizeof p);
    p = albumtest::placement(-0.5, 0, 1e-3, 7, 1, 5, 0);
    std::memcpy(album.Placements.Append(), &p, sizeof p);
    album.SelectedPlacement = 1;
    album.StripSelection = 1;
}

}  // namespace

TEST(AlbumFileWriter, Version40LayoutByteForByte) {
    Album album;
    fillSmallAlbum(album);
    AlbumSettings s;
    s.ShowFNames = true, s.SverhCheck = false, s.Zoom = 150, s.Margin = 7.9, s.Spacing = 2.5;
    s.TranspCheck = true, s.BkColor = 0x00123456, s.CutDefault = true, s.EnhanceQualCheck = false;
    s.UseGridCheck = false, s.ShowGridCheck = true;
    s.MinQual = 150, s.DefaultWidth = 90.5, s.DefaultHeight = 60.25, s.GridSpacing = 0.01;
    s.Font = {2, 0x000000FF, "Times", 1, 120, 14, CaptionFont::kBold | CaptionFont::kUnderline};
    const std::vector<uint8_t> bytes =
        encodeAlbumFile(albumFileContentOf(album, s), "/fotos/urlaub/album.pxr");

    Bytes want;
    want.raw("ZOR-VEX Pixo-Rahmler 4.0").i32(2);
    want.f64(1.5).f64(2.25).f64(4).f64(3).i32(2).i32(6).u8(1).zeros(3).u8(0xAB).zeros(3);
    want.f64(-0.5).f64(0).f64(1e-3).f64(7).i32(1).i32(5).u8(0).zeros(7);
    want.i32(1).i32(1).i32(2).i32(7);
    want.i32(1).i32(0).i32(150).i32(7).i32(2);  // margin 7.9 and spacing 2.5 truncated
    want.i32(1).u32(0x00123456).i32(1).i32(0).i32(0).i32(1);
    want.f64(150).f64(90.5).f64(60.25).f64(0.01);
    want.font(2, 0x000000FF, "Times", 1, 120, 14, 5);
    want.counted("a.jpg").i32(3).i32(5).counted("Strand");
    want.counted("/elsewhere/b.png").i32(0).i32(6).counted("");
    ASSERT_EQ(bytes.size(), want.b.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], want.b[i]) << "offset " << i;
}

TEST(AlbumFileWriter, UnrepresentableValuesGetFixedAnswers) {
    AlbumFileContent c;
    c.Settings.Zoom = std::nan("");
    c.Settings.Margin = 1e300;
    c.Settings.Spacing = -7.9;
    c.Settings.Font.Name.clear();
    for (int i = 0; i < 130; ++i) c.Settings.Font.Name += "\xC5\x81";  // 260 bytes, no 1252 form
    const std::vector<uint8_t> bytes = encodeAlbumFile(c, "/a/x.pxr");
    const auto i32At = [&](std::size_t at) {
        int32_t v;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    EXPECT_EQ(i32At(28 + 24), 0);
    EXPECT_EQ(i32At(28 + 28), INT32_MAX);
    EXPECT_EQ(i32At(28 + 32), -7);
    EXPECT_EQ(bytes[28 + 92 + 5], 254);  // 127 whole letters rather than half of one
    // In Windows-1252 the same number of letters takes half the bytes and fits.
    c.Settings.Font.Name.clear();
    for (int i = 0; i < 130; ++i) c.Settings.Font.Name += "\xC3\xA4";
    EXPECT_EQ(encodeAlbumFile(c, "/a/x.pxr")[28 + 92 + 5], 130);
}

TEST(AlbumFileWriter, BareNameRule) {
    const SameFolderFn never = [](const std::string&, const std::string&) { return false; };
    const SameFolderFn always = [](const std::string&, const std::string&) { return true; };
    EXPECT_EQ(storedPicturePath("/p/Fotos/a.jpg", "/p/Fotos/al.pxr", never), "a.jpg");
    EXPECT_EQ(storedPicturePath("/p/Fotos/sub/a.jpg", "/p/Fotos/al.pxr", never),
              "/p/Fotos/sub/a.jpg");
    // Folders equal after upper-casing a..z are one where the file system says so.
    EXPECT_EQ(storedPicturePath("C:\\Fotos\\a.jpg", "c:\\FOTOS\\al.pxr", always), "a.jpg");
    EXPECT_EQ(storedPicturePath("C:\\Fotos\\a.jpg", "c:\\FOTOS\\al.pxr", never),
              "C:\\Fotos\\a.jpg");
    // Umlauts are not case-mapped: "ä" and "Ä" are different folders whatever the file system says.
    EXPECT_EQ(storedPicturePath("/p/\xC3\xA4/a.jpg", "/p/\xC3\x84/al.pxr", always),
              "/p/\xC3\xA4/a.jpg");

    // Two real folders on a case-sensitive file system: a bare name would find the wrong picture.
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.path() / "Fotos");
    std::filesystem::create_directory(dir.path() / "FOTOS");
    EXPECT_EQ(storedPicturePath(dir.file("Fotos/a.jpg"), dir.file("FOTOS/al.pxr")),
              dir.file("Fotos/a.jpg"));
    EXPECT_EQ(storedPicturePath(dir.file("Fotos/a.jpg"), dir.file("Fotos/al.pxr")), "a.jpg");
}

TEST(AlbumFileWriter, FailureHalfWayKeepsTheOldFile) {
    testsupport::TempDir dir;
    const std::string path = dir.file("album.pxr");
    Album album;
    fillSmallAlbum(album);
    ASSERT_TRUE(saveAlbumFile(path, album, AlbumSettings{}).ok);
    EXPECT_EQ(album.AlbumFileName, path);
    const std::vector<uint8_t> first = testsupport::readAll(path);

    // The disk "fills up" after 1000 bytes of the new file: the file size limit makes write() fail.
    album.Pictures[0].Comment.assign(4000, 'x');
    album.AlbumFileName = "before";
    struct rlimit old, small;
    getrlimit(RLIMIT_FSIZE, &old);
    small = old;
    small.rlim_cur = 1000;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const AlbumSaveResult failed = saveAlbumFile(path, album, AlbumSettings{});
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message,
              std::string(kSaveFailed) + "\nDie Datei wird zu groß für den Datenträger.");
    EXPECT_EQ(album.AlbumFileName, "before");
    EXPECT_EQ(testsupport::readAll(path), first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              1);  // no leftovers
}

TEST(AlbumFileWriter, UnwritableFolderFails) {
    testsupport::TempDir dir;
    testsupport::writeAll(dir.file("plain"), {1, 2, 3});
    Album album;
    const std::pair<std::string, const char*> cases[] = {
        {dir.file("plain/album.pxr"), "Ein Teil des Pfades ist kein Ordner."},
        {dir.file("missing/album.pxr"), "Der Ordner oder die Datei existiert nicht."},
    };
    for (const auto& [path, reason] : cases) {
        const AlbumSaveResult r = saveAlbumFile(path, album, AlbumSettings{});
        EXPECT_FALSE(r.ok) << path;
        EXPECT_EQ(r.message, std::string(kSaveFailed) + "\n" + reason);
    }
    EXPECT_TRUE(album.AlbumFileName.empty());
    if (geteuid() == 0) return;  // root writes into read-only folders anyway
    const std::string path = dir.file("album.pxr");
    ASSERT_TRUE(saveAlbumFile(path, album, AlbumSettings{}).ok);
    const std::vector<uint8_t> old = testsupport::readAll(path);
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    fillSmallAlbum(album);
    EXPECT_FALSE(saveAlbumFile(path, album, AlbumSettings{}).ok);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(testsupport::readAll(path), old);
}

TEST(AlbumFileWriter, SavingThroughASymlinkKeepsTheLink) {
    testsupport::TempDir dir;
    testsupport::writeAll(dir.file("real.pxr"), {1});
    std::filesystem::create_symlink(dir.file("real.pxr"), dir.file("link.pxr"));
    Album album;
    ASSERT_TRUE(saveAlbumFile(dir.file("link.pxr"), album, AlbumSettings{}).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.pxr")));
    EXPECT_GT(testsupport::readAll(dir.file("real.pxr")).size(), 100u);
}

// The window caps captions, but the album itself does not: a longer comment is cut where the
// reader's cap lies, between two characters, so every file written opens again.
TEST(AlbumFileWriter, ACommentBeyondTheReadersCapIsCutSoTheFileOpensAgain) {
    AlbumFileContent c;
    std::string comment(kMaxAlbumStringBytes - 1, 'x');
    for (int i = 0; i < 5; ++i) comment += "\xC3\xA4";  // "ä" across the cap
    c.Pictures = {{"/a/b.jpg", 0, 0, comment}};
    c.NextPictureKey = 1;
    const std::vector<uint8_t> bytes = encodeAlbumFile(c, "/a/album.pxr");
    const AlbumReadResult r =
        parseAlbumFile(bytes.data(), bytes.size(), "/a/album.pxr", AlbumSettings{}, {1, 1, 1});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.Pictures[0].Comment, std::string(kMaxAlbumStringBytes - 1, 'x'));
}
