#include <gtest/gtest.h>

#include <cmath>

#include "AlbumFileTestSupport.h"
#include "NonRegularFiles.h"
#include "TestSupport.h"
#include "core/album/AlbumFileReader.h"
#include "core/album/AlbumFileWriter.h"

using namespace pr;
using albumtest::Bytes;
using albumtest::placement;

namespace {

const OldPageGeometry kPrinter{4800, 6600, 600};  // 8 x 11 inches at 600 pixels per inch
const char kInvalid[] = "Die Datei ist keine gültige Pixo-Rahmler Datei!";

AlbumReadResult parse(const std::vector<uint8_t>& b, const AlbumSettings& current = AlbumSettings{},
                      const OldPageGeometry& page = kPrinter) {
    return parseAlbumFile(b.data(), b.size(), "/home/u/Alben/reise.pxr", current, page);
}

// Offsets in golden40(): the state after the two records, the font, the first picture entry.
constexpr std::size_t kStateAt = 28 + 96, kFontAt = kStateAt + 92, kFirstPathAt = kFontAt + 31;

// A 4.0 file straight from the layout table.
Bytes golden40() {
    Bytes f;
    f.raw("ZOR-VEX Pixo-Rahmler 4.0").i32(2);
    f.f64(0.5).f64(1.25).f64(3).f64(2).i32(3).i32(11).u8(1).raw("\x01\x02\x03\x04\x05\x06\x07");
    f.f64(4).f64(5).f64(6).f64(7).i32(1).i32(10).u8(0).zeros(7);
    f.i32(0).i32(1).i32(2).i32(12);
    f.i32(5).i32(0).i32(90).i32(12).i32(3);  // any nonzero boolean is true
    f.i32(-1).u32(0x00C0FFEE).i32(0).i32(1).i32(0).i32(7);
    f.f64(96).f64(120.5).f64(80).f64(2.5);
    f.font(1, 0x80000008u, "Liberation Sans", 2, 96, 9, 3);
    f.counted("a.jpg").i32(1).i32(10).counted("Am Strand");
    f.counted("C:\\Bilder\\M\xFCller.jpg")
        .i32(0)
        .i32(11)
        .counted(
            "Gr\xFC\xDF"
            "e");  // Windows-1252
    return f;
}

// A 3.0 file (2.0: without colour, font and comments) with slots 5 and 9,000 used.
Bytes oldFile(bool v3) {
    Bytes f;
    f.raw(v3 ? "ZOR-VEX Pixo-Rahmler 3.0" : "ZOR-VEX Pixo-Rahmler 2.0");
    for (int slot = 0; slot < 10000; ++slot) {
        if (slot == 5)
            f.u8(1).oldRecord(2500, 5000, 5000, 1000, 4);
        else if (slot == 9000)
            f.u8(0xFF).oldRecord(0, 10000, 1250, 0, 2);
        else
            f.u8(0);
    }
    f.i32(1).i32(0).i32(1).i32(5).i32(1).i32(1).i32(50).i32(20).i32(8);
    if (v3) f.i32(1).u32(0x00FF0000).font(0, 0x000000FF, "Courier", 2, 72, 12, 8);
    f.counted("bild.tif").i32(2).i32(4);
    if (v3) f.counted("Gipfel");
    return f;
}

void expectPlacement(const Placement& got, const Placement& want) {
    EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0)
        << got.Left << " " << got.Top << " " << got.Width << " " << got.Height;
}

}  // namespace

TEST(AlbumFileReader, Golden40FieldByField) {
    Bytes file = golden40();
    file.raw("trailing bytes were always ignored");
    const AlbumReadResult r = parse(file.b);
    ASSERT_TRUE(r.ok()) << r.message;
    const AlbumFileContent& c = r.content;
    EXPECT_EQ(c.Version, AlbumFileVersion::V4_0);
    ASSERT_EQ(c.Placements.size(), 2u);
    Placement first = placement(0.5, 1.25, 3, 2, 3, 11, 1);
    std::memcpy(first.Reserved, "\x01\x02\x03\x04\x05\x06\x07", 7);  // kept as stored
    expectPlacement(c.Placements[0], first);
    expectPlacement(c.Placements[1], placement(4, 5, 6, 7, 1, 10, 0));
    EXPECT_EQ(c.SelectedPlacement, 0);
    EXPECT_EQ(c.StripSelection, 1);
    EXPECT_EQ(c.NextPictureKey, 12);

    AlbumSettings s;
    s.ShowFNames = true, s.SverhCheck = false, s.Zoom = 90, s.Margin = 12, s.Spacing = 3;
    s.TranspCheck = true, s.BkColor = 0x00C0FFEE, s.CutDefault = false, s.EnhanceQualCheck = true;
    s.UseGridCheck = false, s.ShowGridCheck = true;
    s.MinQual = 96, s.DefaultWidth = 120.5, s.DefaultHeight = 80, s.GridSpacing = 2.5;
    s.Font = {
        1, 0x80000008u, "Liberation Sans", 2, 96, 9, CaptionFont::kBold | CaptionFont::kItalic};
    EXPECT_EQ(c.Settings, s);

    const std::vector<StoredPicture> pictures = {
        {"/home/u/Alben/a.jpg", 1, 10, "Am Strand"},  // bare name: in the album's folder
        {"C:\\Bilder\\M\xC3\xBCller.jpg", 0, 11,
         "Gr\xC3\xBC\xC3\x9F"
         "e"}};
    EXPECT_EQ(c.Pictures, pictures);
}

TEST(AlbumFileReader, OldVersionsAreConvertedWithTheCurrentPrinter) {
    for (bool v3 : {true, false}) {
        AlbumSettings current;
        current.MinQual = 33;  // in neither old version: keeps its value
        current.Font.Name = "Current";
        const AlbumReadResult r = parse(oldFile(v3).b, current);
        ASSERT_TRUE(r.ok()) << r.message;
        const AlbumFileContent& c = r.content;
        EXPECT_EQ(c.Version, v3 ? AlbumFileVersion::V3_0 : AlbumFileVersion::V2_0);
        ASSERT_EQ(c.Placements.size(), 2u);  // slot order, page 1, fit/crop 0
        expectPlacement(c.Placements[0],
                        placement(2.0, 5.5, 4.0, 6600.0 * 1000 / 10000 / 600, 1, 4, 0));
        expectPlacement(c.Placements[1], placement(0, 11.0, 1.0, 0, 1, 2, 0));
        EXPECT_EQ(c.SelectedPlacement, 1);
        EXPECT_EQ(c.Settings.Zoom, 50);
        EXPECT_EQ(c.Settings.Spacing, 8);
        EXPECT_EQ(c.Settings.MinQual, 33);
        EXPECT_EQ(c.Settings.TranspCheck, v3);
        EXPECT_EQ(c.Settings.Font.Name, v3 ? "Courier" : "Current");
        const std::vector<StoredPicture> pictures = {
            {"/home/u/Alben/bild.tif", 2, 4, v3 ? "Gipfel" : ""}};
        EXPECT_EQ(c.Pictures, pictures);
        // Without a printer resolution old positions cannot be placed.
        EXPECT_EQ(parse(oldFile(v3).b, current, {4800, 6600, 0}).error, AlbumReadError::Damaged);
    }
}

// Every cut of a small valid file is refused: nothing half-read can reach the album.
TEST(AlbumFileReader, EveryTruncationIsRefused) {
    for (const std::vector<uint8_t>& whole : {golden40().b, oldFile(true).b, oldFile(false).b}) {
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            const AlbumReadResult r =
                parse(std::vector<uint8_t>(whole.begin(), whole.begin() + cut));
            ASSERT_FALSE(r.ok()) << "cut at " << cut;
            ASSERT_EQ(r.message, kInvalid);
        }
    }
}

TEST(AlbumFileReader, DamagedValuesAreRefusedOrMadeConsistent) {
    const auto patched = [](std::size_t at, int32_t v) {
        Bytes f = golden40();
        std::memcpy(&f.b[at], &v, 4);
        return f.b;
    };
    for (int32_t n : {-1, INT32_MIN, INT32_MAX, 3}) {
        EXPECT_EQ(parse(patched(24, n)).error, AlbumReadError::Damaged) << "N " << n;
        EXPECT_EQ(parse(patched(kStateAt + 8, n)).error, AlbumReadError::Damaged) << "P " << n;
        EXPECT_EQ(parse(patched(kFirstPathAt, n)).error, AlbumReadError::Damaged) << "length " << n;
    }
    // More pictures than the cap, although the bytes are there.
    Bytes many = Bytes::header40(kMaxAlbumPictures + 1, 0);
    for (int i = 0; i <= kMaxAlbumPictures; ++i) many.counted("").i32(0).i32(i).counted("");
    EXPECT_EQ(parse(many.b).error, AlbumReadError::Damaged);

    const double nan = std::nan(""), inf = HUGE_VAL;
    for (auto [at, value] :
         {std::pair{28 + 8, nan} /* a coordinate */, {kStateAt + 60, inf} /* quality */}) {
        Bytes f = golden40();
        std::memcpy(&f.b[at], &value, 8);
        EXPECT_EQ(parse(f.b).error, AlbumReadError::Damaged) << at;
    }
    // Values that only contradict each other are made consistent.
    for (int32_t selected : {2, -2, INT32_MAX})
        EXPECT_EQ(parse(patched(kStateAt, selected)).content.SelectedPlacement, -1) << selected;
    EXPECT_EQ(parse(patched(kStateAt + 12, 3)).content.NextPictureKey,
              12);  // stored keys are 10, 11
    EXPECT_EQ(parse(patched(kFirstPathAt + 9, 7)).content.Pictures[0].Rotation, 0);
}

TEST(AlbumFileReader, SaveOpenSaveGivesIdenticalBytes) {
    for (const std::vector<uint8_t>& source : {golden40().b, oldFile(true).b, oldFile(false).b}) {
        const std::vector<uint8_t> saved =
            encodeAlbumFile(parse(source).content, "/home/u/Alben/reise.pxr");
        EXPECT_EQ(encodeAlbumFile(parse(saved).content, "/home/u/Alben/reise.pxr"), saved);
    }
}

// What the Windows program can show is written in its encoding; everything comes back unchanged.
TEST(AlbumFileReader, TextsTravelInWindows1252WhereTheyCanAndComeBackUnchanged) {
    AlbumFileContent c;
    c.Settings.Font.Name = "Sch\xC3\xB6ne Schrift";
    c.Pictures.push_back({"/fotos/K\xC3\xB6ln/Dom.jpg", 0, 0, "Gro\xC3\x9F"});
    c.Pictures.push_back(
        {"/fotos/\xC5\x81\xC3\xB3"
         "d\xC5\xBA.jpg",
         1, 1, "\xE2\x98\x83 Winter"});
    c.NextPictureKey = 2;
    const std::vector<uint8_t> bytes = encodeAlbumFile(c, "/alben/a.pxr");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Sch\xF6ne Schrift"), std::string::npos);
    EXPECT_NE(text.find("/fotos/K\xF6ln/Dom.jpg"), std::string::npos);
    EXPECT_NE(text.find("Gro\xDF"), std::string::npos);
    EXPECT_NE(text.find("\xE2\x98\x83 Winter"), std::string::npos);  // no Windows-1252 form
    const AlbumReadResult r = parse(bytes);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.content.Settings.Font.Name, c.Settings.Font.Name);
    ASSERT_EQ(r.content.Pictures.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(r.content.Pictures[i].FileName, c.Pictures[i].FileName);
        EXPECT_EQ(r.content.Pictures[i].Comment, c.Pictures[i].Comment);
    }
}

// A Windows-1252 path under the cap grows past it as UTF-8 and with the album folder; saving would
// write a file that could not be opened again, so the reader refuses it in the first place.
TEST(AlbumFileReader, ConvertedTextBeyondTheCapIsRefused) {
    Bytes f = Bytes::header40(1, 1), ok = f;
    f.counted(std::string(kMaxAlbumStringBytes, '\x80')).i32(0).i32(0).counted("");
    EXPECT_EQ(parse(f.b).error, AlbumReadError::Damaged);
    ok.counted(std::string((kMaxAlbumStringBytes - 100) / 3, '\x80')).i32(0).i32(0).counted("");
    const AlbumReadResult r = parse(ok.b);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(parse(encodeAlbumFile(r.content, "/a/b.pxr")).ok());
}

TEST(AlbumFileReader, FilesThatCannotBeReadAndUnknownHeaders) {
    for (std::string header :
         {"ZOR-VEX Pixo-Rahmler 5.0", "zor-vex pixo-rahmler 4.0", "ZOR-VEX Pixo-Rahmler 4.", ""}) {
        const AlbumReadResult r = parse(Bytes().raw(header).zeros(200).b);
        EXPECT_EQ(r.error, AlbumReadError::NotAnAlbum) << header;
        EXPECT_EQ(r.message, kInvalid);
    }
    testsupport::TempDir dir;
    AlbumReadResult r = readAlbumFile(dir.file("fehlt.pxr"), AlbumSettings{}, kPrinter);
    EXPECT_EQ(r.error, AlbumReadError::OpenFailed);
    EXPECT_EQ(r.message, "Pixo-Rahmler Datei öffnen: Konnte die Datei fehlt.pxr nicht öffnen!");
    std::filesystem::create_directory(dir.path() / "ordner.pxr");
    EXPECT_EQ(readAlbumFile(dir.file("ordner.pxr"), AlbumSettings{}, kPrinter).error,
              AlbumReadError::OpenFailed);
}

// A FIFO or a device in the album's place is refused without waiting for a writer. A large file is
// read only as far as its entries reach: what does not start like an album costs its first bytes,
// and a file beyond the cap is refused unread.
TEST(AlbumFileReader, SpecialAndHugeFilesAreReadOnlyAsFarAsTheirEntries) {
    testsupport::TempDir dir;
    ASSERT_TRUE(testsupport::makeFifo(dir.file("fifo.pxr")));
    for (const std::string& path : {dir.file("fifo.pxr"), std::string("/dev/zero")}) {
        AlbumReadResult r;
        EXPECT_TRUE(testsupport::finishesWithoutAWriter(
            path, [&] { r = readAlbumFile(path, AlbumSettings{}, kPrinter); }));
        EXPECT_EQ(r.error, AlbumReadError::OpenFailed) << path;
    }

    constexpr uint64_t kMiB = uint64_t{1} << 20;
    const std::string comment(200000, 'k');  // the entries run past the first piece read
    Bytes album = Bytes::header40(1, 1);
    album.counted("a.jpg").i32(0).i32(0).counted(comment);
    const struct {
        const char* what;
        std::vector<uint8_t> head;
        uint64_t size;
        AlbumReadError error;
    } cases[] = {
        {"10 GB of nothing", {}, 10240 * kMiB, AlbumReadError::Damaged},
        {"200 MB of nothing", {}, 200 * kMiB, AlbumReadError::NotAnAlbum},
        {"an album, then 200 MB of nothing", album.b, 200 * kMiB, AlbumReadError::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!testsupport::makeSparseFile(dir.file("big.pxr"), c.head, c.size))
            GTEST_SKIP() << "no sparse files of 10 GB here";
        AlbumReadResult r;
        const uint64_t read = testsupport::bytesReadBy(
            [&] { r = readAlbumFile(dir.file("big.pxr"), AlbumSettings{}, kPrinter); });
        EXPECT_LT(read, kMiB);
        EXPECT_EQ(r.error, c.error);
        if (r.ok()) {
            ASSERT_EQ(r.content.Pictures.size(), 1u);
            EXPECT_EQ(r.content.Pictures[0].Comment, comment);
        }
    }
}
