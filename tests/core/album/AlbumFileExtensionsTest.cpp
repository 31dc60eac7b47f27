#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

#include "AlbumFileTestSupport.h"
#include "TestSupport.h"
#include "core/album/AlbumFileApply.h"
#include "core/album/AlbumFileExtensions.h"
#include "core/album/AlbumFileReader.h"
#include "core/album/AlbumFileWriter.h"

using namespace pr;
using albumtest::Bytes;
using albumtest::FakePictures;

namespace {

const OldPageGeometry kPrinter{4800, 6600, 600};
const char kInvalid[] = "Die Datei ist keine gültige Pixo-Rahmler Datei!";
const char kAlbum[] = "/home/u/Alben/reise.pxr";

using List = std::vector<Adjustment>;

AlbumReadResult parse(const std::vector<uint8_t>& b) {
    return parseAlbumFile(b.data(), b.size(), kAlbum, AlbumSettings{}, kPrinter);
}

// The same picture file twice (keys 4 and 9), without any block yet.
Bytes twoPictures() {
    Bytes f = Bytes::header40(2, 10);
    f.counted("a.jpg").i32(0).i32(4).counted("");
    f.counted("a.jpg").i32(1).i32(9).counted("");
    return f;
}

std::string text(const Bytes& b) {
    return std::string(b.b.begin(), b.b.end());
}

Bytes block(const std::string& signature, const Bytes& body) {
    Bytes b;
    b.raw(signature).u32(static_cast<uint32_t>(body.b.size()));
    return b.raw(text(body));
}

Bytes entry(int32_t index, int32_t key, std::initializer_list<Adjustment> list) {
    Bytes e;
    e.i32(index).i32(key).i32(static_cast<int32_t>(list.size()));
    for (const Adjustment& a : list) e.i32(a.Brightness).i32(a.Contrast).i32(a.Saturation);
    return e;
}

Bytes adjustments(std::initializer_list<Bytes> entries, int32_t version = 1) {
    Bytes body;
    body.i32(version).i32(static_cast<int32_t>(entries.size()));
    for (const Bytes& e : entries) body.raw(text(e));
    return block("PXR-ADJS", body);
}

const Adjustment kWarm{20, 130, -10}, kFlat{-5, 60, 40};

AlbumFileContent adjustedContent() {
    AlbumFileContent c;
    c.NextPictureKey = 3;
    // The same file twice, once adjusted; the picture in between is missing when opened.
    c.Pictures = {{"/fotos/a.jpg", 0, 0, "", {kWarm, kFlat, kWarm}},
                  {"/fotos/b.jpg", 1, 1, "Gipfel", {{0, 100, -100}}},
                  {"/fotos/a.jpg", 2, 2, "", {}}};
    return c;
}

}  // namespace

// The list comes back in its order, saving again gives the same bytes, and without adjustments
// the file is exactly what it was before blocks existed: the block only ever follows.
TEST(AlbumFileExtensions, AdjustmentsComeBackAndOnlyFollowTheLastEntry) {
    const AlbumFileContent c = adjustedContent();
    const std::vector<uint8_t> saved = encodeAlbumFile(c, kAlbum);
    const AlbumReadResult r = parse(saved);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.content.Pictures, c.Pictures);
    EXPECT_EQ(encodeAlbumFile(r.content, kAlbum), saved);

    AlbumFileContent plain = c;
    for (StoredPicture& p : plain.Pictures) p.Adjustments.clear();
    const std::vector<uint8_t> old = encodeAlbumFile(plain, kAlbum);
    ASSERT_LT(old.size(), saved.size());
    EXPECT_TRUE(std::equal(old.begin(), old.end(), saved.begin()));
    EXPECT_EQ(std::string(saved.begin() + old.size(), saved.begin() + old.size() + 8), "PXR-ADJS");

    // A reader that stops after the last picture entry sees the file without the block.
    const AlbumReadResult stopped = parse(old);
    ASSERT_TRUE(stopped.ok());
    EXPECT_EQ(stopped.content.Pictures, plain.Pictures);
    EXPECT_EQ(encodeAlbumFile(stopped.content, kAlbum), old);
}

TEST(AlbumFileExtensions, BlocksAreReadSkippedOrRefused) {
    const Adjustment kBright{127, 100, 0};
    const struct {
        const char* what;
        Bytes tail;
        bool opens;
        List first, second;
    } cases[] = {
        {"no block", Bytes(), true, {}, {}},
        {"both pictures",
         adjustments({entry(0, 4, {kWarm}), entry(1, 9, {kFlat, kWarm})}),
         true,
         {kWarm},
         {kFlat, kWarm}},
        {"unknown blocks, a later version and trailing bytes around it",
         Bytes()
             .raw(text(block("PXR-NOTE", Bytes().raw("hallo"))))
             .raw(text(adjustments({entry(0, 4, {kFlat})}, 2)))
             .raw(text(adjustments({entry(1, 9, {kWarm})})))
             .raw("trailing bytes"),
         true,
         {},
         {kWarm}},
        {"only the first block counts",
         Bytes()
             .raw(text(adjustments({entry(0, 4, {kWarm})})))
             .raw(text(adjustments({entry(1, 9, {kWarm})}))),
         true,
         {kWarm},
         {}},
        {"bytes that are no block end the blocks",
         Bytes().raw("PXQ-ADJS").raw(text(adjustments({entry(0, 4, {kWarm})}))),
         true,
         {},
         {}},
        {"values beyond the sliders are taken as the nearest end",
         adjustments({entry(0, 4, {{1000, -5, 101}, {INT_MIN, INT_MAX, -101}})}),
         true,
         {{127, 0, 100}, {-127, 200, -100}},
         {}},
        {"entries naming no picture, the wrong key or a picture again are passed over",
         adjustments({entry(2, 4, {kWarm}), entry(-1, 4, {kWarm}), entry(1, 4, {kWarm}),
                      entry(0, 4, {kBright}), entry(0, 4, {kWarm})}),
         true,
         {kBright},
         {}},
        {"an entry beyond the cap is passed over",
         [] {
             Bytes e = Bytes().i32(0).i32(4).i32(kMaxStoredAdjustments + 1);
             for (int i = 0; i <= kMaxStoredAdjustments; ++i) e.i32(1).i32(100).i32(0);
             return adjustments({e, entry(1, 9, {kWarm})});
         }(),
         true,
         {},
         {kWarm}},
        {"entry count beyond the block: the block is ignored",
         block("PXR-ADJS", Bytes().i32(1).i32(3).raw(text(entry(0, 4, {kWarm})))),
         true,
         {},
         {}},
        {"adjustment count beyond the block: the block is ignored",
         block("PXR-ADJS",
               Bytes().i32(1).i32(2).raw(text(entry(1, 9, {kWarm}))).i32(0).i32(4).i32(INT32_MAX)),
         true,
         {},
         {}},
        {"negative counts: the block is ignored",
         block("PXR-ADJS", Bytes().i32(1).i32(1).i32(0).i32(4).i32(-1)),
         true,
         {},
         {}},
        {"a block running past the end",
         Bytes().raw(text(adjustments({entry(0, 4, {kWarm})}))).raw("PXR-NOTE").u32(100).raw("x"),
         false,
         {},
         {}},
        {"a length beyond any file", Bytes().raw("PXR-ADJS").u32(UINT32_MAX), false, {}, {}},
        {"a header cut short", Bytes().raw("PXR-AD"), false, {}, {}},
        {"cut inside the family signature", Bytes().raw("PX"), false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = twoPictures();
        file.raw(text(c.tail));
        const AlbumReadResult r = parse(file.b);
        ASSERT_EQ(r.ok(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(r.error, AlbumReadError::Damaged);
            EXPECT_EQ(r.message, kInvalid);
            continue;
        }
        ASSERT_EQ(r.content.Pictures.size(), 2u);
        EXPECT_EQ(r.content.Pictures[0].Adjustments, c.first);
        EXPECT_EQ(r.content.Pictures[1].Adjustments, c.second);
        // Whatever was read is saved as read.
        EXPECT_EQ(parse(encodeAlbumFile(r.content, kAlbum)).content.Pictures, r.content.Pictures);
    }
}

// Cut anywhere inside its block, a file is refused rather than opened without what it holds.
TEST(AlbumFileExtensions, EveryCutInsideTheBlockIsRefused) {
    const std::size_t end = twoPictures().b.size();
    Bytes whole = twoPictures();
    whole.raw(text(adjustments({entry(0, 4, {kWarm}), entry(1, 9, {kFlat})})));
    for (std::size_t cut = end + 1; cut < whole.b.size(); ++cut) {
        const AlbumReadResult r =
            parse(std::vector<uint8_t>(whole.b.begin(), whole.b.begin() + cut));
        ASSERT_EQ(r.error, AlbumReadError::Damaged) << "cut at " << cut;
    }
    EXPECT_TRUE(parse(whole.b).ok());
}

// Older versions never had blocks: what follows their last entry stays unread, however it looks.
TEST(AlbumFileExtensions, OldVersionsIgnoreWhatLooksLikeABlock) {
    Bytes f;
    f.raw("ZOR-VEX Pixo-Rahmler 3.0").zeros(10000);
    f.i32(-1).i32(0).i32(1).i32(1).i32(0).i32(0).i32(100).i32(5).i32(5);
    f.i32(0).u32(0).font(0, 0, "Arial", 0, 96, 10, 0);
    f.counted("a.jpg").i32(0).i32(0).counted("");
    f.raw(text(adjustments({entry(0, 0, {kWarm})}))).raw("PXR-ADJS").u32(1000);
    const AlbumReadResult r = parse(f.b);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(r.content.Pictures.at(0).Adjustments.empty());
}

// The reader takes a file in growing pieces; a block that straddles a piece is still read, and
// one that runs past the end of the file on disk leaves the open album as it was.
TEST(AlbumFileExtensions, OpeningFromDiskReadsTheBlockAcrossPiecesOrChangesNothing) {
    testsupport::TempDir dir;
    FakePictures pictures;
    pictures.declared.insert(dir.file("a.jpg"));
    for (std::size_t straddle : {0, 3, 7, 11}) {
        SCOPED_TRACE(straddle);
        // The comment makes the picture entries end `straddle` bytes before the first 64 KiB.
        Bytes f = Bytes::header40(1, 1);
        const std::size_t fixed = f.b.size() + 4 + 5 + 8 + 4;
        f.counted("a.jpg").i32(0).i32(0).counted(std::string((64 << 10) - straddle - fixed, 'k'));
        ASSERT_EQ(f.b.size(), (64u << 10) - straddle);
        f.raw(text(adjustments({entry(0, 0, {kWarm, kFlat})})));
        testsupport::writeAll(dir.file("gross.pxr"), f.b);
        Album album;
        const AlbumOpenResult opened = openAlbumFile(dir.file("gross.pxr"), album, AlbumSettings{},
                                                     kPrinter, pictures.source());
        ASSERT_TRUE(opened.ok);
        EXPECT_EQ(album.Pictures.at(0).Adjustments, (List{kWarm, kFlat}));
    }

    Album album;
    ImageBuffer img;
    ASSERT_TRUE(newdib(img, 3, 2, 24));
    album.addPicture("/fotos/vorher.jpg", img);
    album.Pictures[0].Adjustments = {kFlat};
    album.AlbumFileName = "/alben/vorher.pxr";
    Bytes cut = twoPictures();
    cut.raw(text(adjustments({entry(0, 4, {kWarm})})));
    cut.b.resize(cut.b.size() - 1);
    testsupport::writeAll(dir.file("kaputt.pxr"), cut.b);
    const AlbumOpenResult refused =
        openAlbumFile(dir.file("kaputt.pxr"), album, AlbumSettings{}, kPrinter, pictures.source());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.messages, std::vector<std::string>{kInvalid});
    ASSERT_EQ(album.Pictures.size(), 1u);
    EXPECT_EQ(album.Pictures[0].FileName, "/fotos/vorher.jpg");
    EXPECT_EQ(album.Pictures[0].Adjustments, List{kFlat});
    EXPECT_EQ(album.AlbumFileName, "/alben/vorher.pxr");
}

// The stored list becomes the picture's recipe, so it shows the pixels seen before saving; a
// picture that cannot be found keeps its list for the next save.
TEST(AlbumFileExtensions, StoredAdjustmentsBecomeTheRecipe) {
    FakePictures pictures;
    pictures.declared.insert("/fotos/a.jpg");
    AlbumFileContent c = adjustedContent();
    Album album;
    ASSERT_TRUE(applyAlbumFile(c, "/fotos/album.pxr", album, pictures.source()).ok);
    ASSERT_EQ(album.Pictures.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(album.Pictures[i].Adjustments, c.Pictures[i].Adjustments) << i;

    ImageBuffer shown, expected;
    ASSERT_TRUE(album.getnumdib(0, shown));
    ASSERT_TRUE(newdib(expected, 3, 2, 24));
    ASSERT_TRUE(applyPixelRecipe(expected, 0, {kWarm, kFlat, kWarm}));
    ASSERT_EQ(shown.width(), 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(getpixel(shown, x, y), getpixel(expected, x, y));

    EXPECT_EQ(encodeAlbumFile(albumFileContentOf(album, c.Settings), "/fotos/album.pxr"),
              encodeAlbumFile(c, "/fotos/album.pxr"));
}
