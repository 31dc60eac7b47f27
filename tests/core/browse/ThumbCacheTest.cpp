#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "TestSupport.h"
#include "browse/ThumbCacheFormat.h"
#include "browse/ThumbCacheReader.h"
#include "browse/ThumbCacheWriter.h"

using namespace pr;

namespace {

// A thumbnail with a pattern that differs per seed in every pixel and table entry.
ThumbCell makeCell(const std::string& name, int bits, int w, int h, int seed, int32_t check = 1) {
    ThumbCell cell;
    cell.name = name;
    EXPECT_TRUE(newdib(cell.thumbnail, w, h, bits));
    for (int i = 0; i < cell.thumbnail.tableSize(); ++i) {
        cell.thumbnail.info->colors[i] = RgbQuad{uint8_t(i + seed), uint8_t(i * 3), uint8_t(seed), 0};
    }
    syncPalette(cell.thumbnail);
    const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) setpixel(cell.thumbnail, x, y, uint32_t(x * 7 + y * 13 + seed) * 2654435761u & mask);
    cell.info = makeThumbInfo(bits, w, h, w * 10, h * 10, cell.thumbnail.imageBytes() * 100, check);
    return cell;
}

std::vector<ThumbCell> threeCells() {
    std::vector<ThumbCell> cells;
    cells.push_back(makeCell("a.jpg", 24, 3, 2, 1));
    cells.push_back(makeCell("B.GIF", 8, 2, 2, 2));
    cells.push_back(makeCell("c.bmp", 1, 9, 1, 3));
    return cells;
}

void expectSameThumbnail(const ImageBuffer& got, const ThumbCell& want) {
    ASSERT_TRUE(got.valid());
    ASSERT_EQ(got.width(), want.thumbnail.width());
    ASSERT_EQ(got.height(), want.thumbnail.height());
    ASSERT_EQ(got.bitCount(), want.thumbnail.bitCount());
    EXPECT_EQ(std::memcmp(got.bits, want.thumbnail.bits, want.thumbnail.imageBytes()), 0);
    for (int i = 0; i < want.thumbnail.tableSize(); ++i) {
        EXPECT_EQ(got.info->colors[i].red, want.thumbnail.info->colors[i].red);
        EXPECT_EQ(got.info->colors[i].green, want.thumbnail.info->colors[i].green);
        EXPECT_EQ(got.info->colors[i].blue, want.thumbnail.info->colors[i].blue);
    }
}

// Offsets of the entries' L fields in formatThumbCache(threeCells()).
std::vector<std::size_t> lengthOffsets(const std::vector<uint8_t>& bytes, int count) {
    std::vector<std::size_t> offsets;
    std::size_t at = kThumbCacheHeaderBytes;
    for (int i = 0; i < count; ++i) {
        const std::size_t l = at + kThumbCacheEntryHeadBytes - 4;
        offsets.push_back(l);
        uint32_t length;
        std::memcpy(&length, &bytes[l], 4);
        at = l + 4 + length;
    }
    return offsets;
}

void putInt(std::vector<uint8_t>& bytes, std::size_t at, int32_t v) { std::memcpy(&bytes[at], &v, 4); }

}  // namespace

TEST(ThumbCache, RoundTripOfEveryDepth) {
    std::vector<ThumbCell> cells;
    cells.push_back(makeCell("eins.bmp", 1, 80, 53, 1));
    cells.push_back(makeCell("zwei.pcx", 4, 27, 80, 2));
    cells.push_back(makeCell("drei.gif", 8, 80, 80, 3));
    cells.push_back(makeCell("vier.jpg", 24, 80, 1, 4, -77));
    const std::vector<uint8_t> bytes = formatThumbCache(cells);
    const ThumbCacheReader reader = ThumbCacheReader::fromBytes(bytes.data(), bytes.size());
    ASSERT_EQ(reader.index().size(), cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CacheIndexEntry& e = reader.index()[i];
        EXPECT_EQ(e.name, cells[i].name);
        EXPECT_EQ(std::memcmp(&e.info, &cells[i].info, sizeof(ThumbInfo)), 0);
        expectSameThumbnail(reader.loadThumbnail(e), cells[i]);
    }
}

TEST(ThumbCache, ByteLayout) {
    const std::vector<uint8_t> bytes = formatThumbCache(threeCells());
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6),
              (std::vector<uint8_t>{0x71, 0x0E, 0x03, 0x00, 0x00, 0x00}));
    // 24-bit 3 x 2: no colour table, rows of 12 bytes. 8-bit 2 x 2: 1024 bytes of table, rows
    // of 4. 1-bit 9 x 1: 8 bytes of table, one row of 4.
    const uint32_t lengths[3] = {40 + 24, 40 + 1024 + 8, 40 + 8 + 4};
    const std::vector<std::size_t> at = lengthOffsets(bytes, 3);
    for (int i = 0; i < 3; ++i) {
        uint32_t l;
        std::memcpy(&l, &bytes[at[i]], 4);
        EXPECT_EQ(l, lengths[i]);
    }
    EXPECT_EQ(bytes.size(), 6 + 3 * 297 + lengths[0] + lengths[1] + lengths[2]);
    // Name field: the name, a zero byte, zero padding; ThumbInfo right behind the 261 bytes.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[6])), "a.jpg");
    EXPECT_EQ(bytes[6 + 261], 24);
    // The stored header names the thumbnail's size and depth.
    int32_t w, h;
    std::memcpy(&w, &bytes[at[0] + 4 + 4], 4);
    std::memcpy(&h, &bytes[at[0] + 4 + 8], 4);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
}

TEST(ThumbCache, LookUpByNameRegardlessOfCaseAndByCheck) {
    testsupport::TempDir dir;
    std::vector<ThumbCell> cells = threeCells();
    cells.push_back(makeCell("A.JPG", 24, 4, 4, 9));  // a later entry of the same name
    cells.push_back(makeCell("D.PNG", 8, 5, 5, 5, 42));
    ASSERT_EQ(saveThumbCache(dir.path().string(), cells), CacheSaveResult::Saved);

    const ThumbCacheReader reader = ThumbCacheReader::openFolder(dir.path().string());
    ASSERT_EQ(reader.index().size(), 5u);
    const CacheIndexEntry* a = reader.find("a.JPG", 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->name, "a.jpg");  // the first in file order
    expectSameThumbnail(reader.loadThumbnail(*a), cells[0]);
    const CacheIndexEntry* d = reader.find("d.png", 42);  // capitals serve small letters
    ASSERT_NE(d, nullptr);
    expectSameThumbnail(reader.loadThumbnail(*d), cells[4]);
    EXPECT_EQ(reader.find("d.png", 1), nullptr);  // a replaced picture has another check
    EXPECT_EQ(reader.find("d.pn", 42), nullptr);
    EXPECT_EQ(reader.find("\xC3\xA4.png", 1), nullptr);
}

TEST(ThumbCache, NoFileNoFolderEmptyIndex) {
    testsupport::TempDir dir;
    EXPECT_TRUE(ThumbCacheReader::openFolder(dir.path().string()).index().empty());
    EXPECT_TRUE(ThumbCacheReader::openFolder("").index().empty());
    EXPECT_TRUE(ThumbCacheReader::openFolder(dir.file("missing")).index().empty());
    std::filesystem::create_directory(dir.file("bnsbrwse.cbf"));
    EXPECT_TRUE(ThumbCacheReader::openFolder(dir.path().string()).index().empty());
    ThumbCacheReader none;
    EXPECT_FALSE(none.loadThumbnail(CacheIndexEntry{}).valid());
}

TEST(ThumbCache, SaveRules) {
    testsupport::TempDir dir;
    const std::string folder = dir.path().string();
    const std::string path = dir.file("bnsbrwse.cbf");
    EXPECT_EQ(saveThumbCache(folder, {}), CacheSaveResult::NothingToSave);
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::Saved);
    EXPECT_EQ(saveThumbCache(folder, {}), CacheSaveResult::NothingToSave);
    EXPECT_EQ(ThumbCacheReader::openFolder(folder).index().size(), 3u);
    // A cache of ours is replaced by the next run's cells.
    std::vector<ThumbCell> one;
    one.push_back(makeCell("neu.tif", 4, 6, 6, 8));
    ASSERT_EQ(saveThumbCache(folder + "/", one), CacheSaveResult::Saved);
    ASSERT_EQ(ThumbCacheReader::openFolder(folder).index().size(), 1u);

    // Files of another kind, and ones shorter than the marker, are never overwritten.
    for (const std::vector<uint8_t>& foreign :
         {std::vector<uint8_t>{0x71}, std::vector<uint8_t>{}, std::vector<uint8_t>{0x0E, 0x71, 1, 0, 0, 0},
          std::vector<uint8_t>{'h', 'a', 'l', 'l', 'o'}}) {
        ASSERT_TRUE(testsupport::writeAll(path, foreign));
        EXPECT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::ForeignFile);
        EXPECT_EQ(testsupport::readAll(path), foreign);
    }

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::CannotWrite);
    EXPECT_EQ(saveThumbCache(dir.file("missing"), threeCells()), CacheSaveResult::CannotWrite);
    EXPECT_EQ(saveThumbCache("", threeCells()), CacheSaveResult::CannotWrite);
    EXPECT_EQ(saveThumbCache("/proc", threeCells()), CacheSaveResult::CannotWrite);
}

TEST(ThumbCache, ReadOnlyCacheIsLeftAlone) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files regardless";
    testsupport::TempDir dir;
    const std::string folder = dir.path().string();
    ASSERT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::Saved);
    const std::vector<uint8_t> before = testsupport::readAll(dir.file("bnsbrwse.cbf"));
    ASSERT_EQ(chmod(dir.file("bnsbrwse.cbf").c_str(), 0444), 0);
    EXPECT_EQ(saveThumbCache(folder, {makeCell("x.png", 8, 2, 2, 1)}), CacheSaveResult::CannotWrite);
    EXPECT_EQ(testsupport::readAll(dir.file("bnsbrwse.cbf")), before);
}

TEST(ThumbCache, UnstorableCellsAreLeftOut) {
    std::vector<ThumbCell> cells = threeCells();
    cells.push_back(makeCell(std::string(261, 'n'), 8, 2, 2, 1));  // no room for the zero byte
    cells.push_back(makeCell(std::string(260, 'm'), 8, 2, 2, 1));  // just fits
    cells.push_back(makeCell("", 8, 2, 2, 1));
    ThumbCell noPixels = makeCell("leer.jpg", 8, 2, 2, 1);
    deldib(noPixels.thumbnail);
    cells.push_back(noPixels);
    ThumbCell wrongDepth = makeCell("tief.jpg", 8, 2, 2, 1);
    wrongDepth.info = makeThumbInfo(24, 2, 2, 20, 20, 1200, 1);
    cells.push_back(wrongDepth);
    cells.push_back(makeCell("gross.jpg", 24, 81, 2, 1));  // no thumbnail is wider than 80

    const std::vector<uint8_t> bytes = formatThumbCache(cells);
    const ThumbCacheReader reader = ThumbCacheReader::fromBytes(bytes.data(), bytes.size());
    ASSERT_EQ(reader.index().size(), 4u);
    EXPECT_EQ(reader.index()[3].name, std::string(260, 'm'));
    EXPECT_EQ(bytes[2], 4);
}

TEST(ThumbCache, TruncatedAtEveryOffsetKeepsTheCompleteEntries) {
    const std::vector<ThumbCell> cells = threeCells();
    const std::vector<uint8_t> bytes = formatThumbCache(cells);
    std::vector<std::size_t> ends;  // where each entry ends
    for (std::size_t l : lengthOffsets(bytes, 3)) {
        uint32_t length;
        std::memcpy(&length, &bytes[l], 4);
        ends.push_back(l + 4 + length);
    }
    ASSERT_EQ(ends.back(), bytes.size());
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + size);
        const ThumbCacheReader reader = ThumbCacheReader::fromBytes(cut.data(), cut.size());
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= size) ++complete;
        ASSERT_EQ(reader.index().size(), complete) << "cut at " << size;
        for (std::size_t i = 0; i < complete; ++i) expectSameThumbnail(reader.loadThumbnail(reader.index()[i]), cells[i]);
    }
}

TEST(ThumbCache, AbsurdCountsAreBoundedByTheBytes) {
    const std::vector<uint8_t> good = formatThumbCache(threeCells());
    for (int32_t count : {INT32_MAX, 4, 1000000, kMaxThumbCacheEntries + 1}) {
        std::vector<uint8_t> bytes = good;
        putInt(bytes, 2, count);
        EXPECT_EQ(ThumbCacheReader::fromBytes(bytes.data(), bytes.size()).index().size(), 3u) << count;
    }
    for (int32_t count : {0, -1, INT32_MIN}) {
        std::vector<uint8_t> bytes = good;
        putInt(bytes, 2, count);
        EXPECT_TRUE(ThumbCacheReader::fromBytes(bytes.data(), bytes.size()).index().empty()) << count;
    }
    std::vector<uint8_t> fewer = good;
    putInt(fewer, 2, 1);
    EXPECT_EQ(ThumbCacheReader::fromBytes(fewer.data(), fewer.size()).index().size(), 1u);
    std::vector<uint8_t> wrongMarker = good;
    wrongMarker[0] = 0x72;
    EXPECT_TRUE(ThumbCacheReader::fromBytes(wrongMarker.data(), wrongMarker.size()).index().empty());
}

TEST(ThumbCache, LengthsThatDoNotAddUpEndTheIndex) {
    const std::vector<uint8_t> good = formatThumbCache(threeCells());
    const std::vector<std::size_t> at = lengthOffsets(good, 3);
    for (int32_t length : {INT32_MAX, -1, INT32_MIN, 0, 39, static_cast<int32_t>(good.size())}) {
        std::vector<uint8_t> bytes = good;
        putInt(bytes, at[1], length);
        EXPECT_EQ(ThumbCacheReader::fromBytes(bytes.data(), bytes.size()).index().size(), 1u) << length;
    }
}

TEST(ThumbCache, EntryWithImpossibleThumbInfoIsPassedOver) {
    const std::vector<ThumbCell> cells = threeCells();
    const std::size_t info0 = kThumbCacheHeaderBytes + kThumbCacheNameBytes;
    struct Damage {
        std::size_t field;
        int32_t value;
    };
    // Bit count, thumbnail width and height, colour count. A width of 5 rather than 4: 24-bit rows
    // of 3 and 4 pixels pad to the same 12 bytes, so L would still agree.
    for (const Damage d : {Damage{0, 7}, Damage{0, 32}, Damage{1, 0}, Damage{1, -3}, Damage{2, 81},
                           Damage{2, 1000000}, Damage{5, 256}, Damage{1, 5}}) {
        std::vector<uint8_t> bytes = formatThumbCache(cells);
        putInt(bytes, info0 + 4 * d.field, d.value);
        const ThumbCacheReader reader = ThumbCacheReader::fromBytes(bytes.data(), bytes.size());
        ASSERT_EQ(reader.index().size(), 2u) << d.field << " " << d.value;
        EXPECT_EQ(reader.index()[0].name, "B.GIF");
        expectSameThumbnail(reader.loadThumbnail(reader.index()[1]), cells[2]);
    }
}

TEST(ThumbCache, ForgedEntryLoadsNothing) {
    const std::vector<ThumbCell> cells = threeCells();
    const std::vector<uint8_t> bytes = formatThumbCache(cells);
    const ThumbCacheReader reader = ThumbCacheReader::fromBytes(bytes.data(), bytes.size());
    ASSERT_EQ(reader.index().size(), 3u);
    CacheIndexEntry forged = reader.index()[2];
    forged.position = bytes.size() - 10;
    EXPECT_FALSE(reader.loadThumbnail(forged).valid());
    forged.position = UINT64_MAX - 5;
    EXPECT_FALSE(reader.loadThumbnail(forged).valid());
    forged = reader.index()[0];
    forged.info.thumbWidth = 80;
    forged.info.thumbHeight = 80;
    EXPECT_FALSE(reader.loadThumbnail(forged).valid());
}

TEST(ThumbCache, ReaderKeepsTheFileItIndexed) {
    testsupport::TempDir dir;
    const std::string folder = dir.path().string();
    const std::vector<ThumbCell> cells = threeCells();
    ASSERT_EQ(saveThumbCache(folder, cells), CacheSaveResult::Saved);
    const ThumbCacheReader reader = ThumbCacheReader::openFolder(folder);
    ASSERT_EQ(reader.index().size(), 3u);
    // The end of the run rewrites the file while the index is still in use.
    ASSERT_EQ(saveThumbCache(folder, {makeCell("z.png", 24, 80, 80, 5)}), CacheSaveResult::Saved);
    expectSameThumbnail(reader.loadThumbnail(reader.index()[2]), cells[2]);
}
