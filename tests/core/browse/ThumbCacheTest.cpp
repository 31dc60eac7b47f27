#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "NonRegularFiles.h"
#include "TestSupport.h"
#include "core/browse/ThumbCacheFormat.h"
#include "core/browse/ThumbCacheReader.h"
#include "core/browse/ThumbCacheWriter.h"

using namespace pr;
using Bytes = std::vector<uint8_t>;

namespace {

// A thumbnail with a pattern that differs per seed in every pixel and table entry.
ThumbCell makeCell(const std::string& name, int bits, int w, int h, int seed, int32_t check = 1) {
    ThumbCell cell;
    cell.name = name;
    EXPECT_TRUE(newdib(cell.thumbnail, w, h, bits));
    for (int i = 0; i < cell.thumbnail.tableSize(); ++i)
        cell.thumbnail.info->colors[i] =
            RgbQuad{uint8_t(i + seed), uint8_t(i * 3), uint8_t(seed), 0};
    syncPalette(cell.thumbnail);
    const uint32_t mask = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setpixel(cell.thumbnail, x, y, uint32_t(x * 7 + y * 13 + seed) * 2654435761u & mask);
    cell.info = makeThumbInfo(bits, w, h, w * 10, h * 10, cell.thumbnail.imageBytes() * 100, check);
    return cell;
}

std::vector<ThumbCell> threeCells() {
    return {makeCell("a.jpg", 24, 3, 2, 1), makeCell("B.GIF", 8, 2, 2, 2),
            makeCell("c.bmp", 1, 9, 1, 3)};
}

void expectSameThumbnail(const ImageBuffer& got, const ThumbCell& want) {
    ASSERT_TRUE(got.valid());
    ASSERT_EQ(got.width(), want.thumbnail.width());
    ASSERT_EQ(got.height(), want.thumbnail.height());
    ASSERT_EQ(got.bitCount(), want.thumbnail.bitCount());
    EXPECT_EQ(std::memcmp(got.bits, want.thumbnail.bits, want.thumbnail.imageBytes()), 0);
    for (int i = 0; i < want.thumbnail.tableSize(); ++i)
        EXPECT_EQ(std::memcmp(&got.info->colors[i], &want.thumbnail.info->colors[i], 3), 0) << i;
}

// Offsets of the entries' L fields.
std::vector<std::size_t> lengthOffsets(const Bytes& bytes, int count) {
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

void putInt(Bytes& bytes, std::size_t at, int32_t v) {
    std::memcpy(&bytes[at], &v, 4);
}
ThumbCacheReader read(const Bytes& b) {
    return ThumbCacheReader::fromBytes(b.data(), b.size());
}

}  // namespace

TEST(ThumbCache, RoundTripOfEveryDepth) {
    const std::vector<ThumbCell> cells{
        makeCell("eins.bmp", 1, 80, 53, 1), makeCell("zwei.pcx", 4, 27, 80, 2),
        makeCell("drei.gif", 8, 80, 80, 3), makeCell("vier.jpg", 24, 80, 1, 4, -77)};
    const Bytes bytes = formatThumbCache(cells);  // the reader reads from it to the end
    const ThumbCacheReader reader = read(bytes);
    ASSERT_EQ(reader.index().size(), cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CacheIndexEntry& e = reader.index()[i];
        EXPECT_EQ(e.name, cells[i].name);
        EXPECT_EQ(std::memcmp(&e.info, &cells[i].info, sizeof(ThumbInfo)), 0);
        expectSameThumbnail(reader.loadThumbnail(e), cells[i]);
    }
}

TEST(ThumbCache, ByteLayout) {
    const Bytes bytes = formatThumbCache(threeCells());
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{0x71, 0x0E, 0x03, 0x00, 0x00, 0x00}));
    // 24-bit 3 x 2: no table, rows of 12. 8-bit 2 x 2: 1024 bytes of table, rows of 4. 1-bit 9 x 1:
    // 8 + 4.
    const uint32_t lengths[3] = {40 + 24, 40 + 1024 + 8, 40 + 8 + 4};
    const std::vector<std::size_t> at = lengthOffsets(bytes, 3);
    for (int i = 0; i < 3; ++i) {
        uint32_t l;
        std::memcpy(&l, &bytes[at[i]], 4);
        EXPECT_EQ(l, lengths[i]);
    }
    EXPECT_EQ(bytes.size(), 6 + 3 * 297 + lengths[0] + lengths[1] + lengths[2]);
    // Name, zero padding to 261 bytes, then ThumbInfo; the stored header names size and depth.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[6])), "a.jpg");
    EXPECT_EQ(bytes[6 + 261], 24);
    int32_t wh[2];
    std::memcpy(wh, &bytes[at[0] + 8], 8);
    EXPECT_EQ(wh[0], 3);
    EXPECT_EQ(wh[1], 2);
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
    EXPECT_TRUE(ThumbCacheReader::openFolder(dir.file("missing")).index().empty());
}

TEST(ThumbCache, SaveRules) {
    testsupport::TempDir dir;
    const std::string folder = dir.path().string(), path = dir.file("bnsbrwse.cbf");
    EXPECT_EQ(saveThumbCache(folder, {}), CacheSaveResult::NothingToSave);
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::Saved);
    const ThumbCacheReader reader = ThumbCacheReader::openFolder(folder);
    ASSERT_EQ(reader.index().size(), 3u);
    // A cache of ours is replaced by the next run's cells, while the old index is still in use.
    ASSERT_EQ(saveThumbCache(folder + "/", {makeCell("neu.tif", 4, 6, 6, 8)}),
              CacheSaveResult::Saved);
    ASSERT_EQ(ThumbCacheReader::openFolder(folder).index().size(), 1u);
    expectSameThumbnail(reader.loadThumbnail(reader.index()[2]), threeCells()[2]);

    // Files of another kind, and ones shorter than the marker (a 1-byte file), are never
    // overwritten.
    for (const Bytes& foreign :
         {Bytes{0x71}, Bytes{}, Bytes{0x0E, 0x71, 1, 0, 0, 0}, Bytes{'h', 'a', 'l', 'l', 'o'}}) {
        ASSERT_TRUE(testsupport::writeAll(path, foreign));
        EXPECT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::ForeignFile);
        EXPECT_EQ(testsupport::readAll(path), foreign);
    }
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_TRUE(ThumbCacheReader::openFolder(folder).index().empty());
    for (const std::string& where :
         {folder, dir.file("missing"), std::string(), std::string("/proc")})
        EXPECT_EQ(saveThumbCache(where, threeCells()), CacheSaveResult::CannotWrite) << where;
    std::filesystem::remove(path);
    if (geteuid() == 0) return;  // root writes read-only files regardless
    ASSERT_EQ(saveThumbCache(folder, threeCells()), CacheSaveResult::Saved);
    const Bytes before = testsupport::readAll(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(saveThumbCache(folder, {makeCell("x.png", 8, 2, 2, 1)}),
              CacheSaveResult::CannotWrite);
    EXPECT_EQ(testsupport::readAll(path), before);
}

// The window reads and writes the cache on its own thread: a FIFO in the cache file's place must
// neither freeze it while reading nor be taken for a cache to replace.
TEST(ThumbCache, AFifoInTheCacheFilesPlaceIsNeitherWaitedOnNorReplaced) {
    testsupport::TempDir dir;
    const std::string folder = dir.path().string(), path = dir.file("bnsbrwse.cbf");
    ASSERT_TRUE(testsupport::makeFifo(path));
    std::size_t entries = 1;
    EXPECT_TRUE(testsupport::finishesWithoutAWriter(
        path, [&] { entries = ThumbCacheReader::openFolder(folder).index().size(); }));
    EXPECT_EQ(entries, 0u);
    CacheSaveResult saved = CacheSaveResult::Saved;
    EXPECT_TRUE(testsupport::finishesWithoutAWriter(
        path, [&] { saved = saveThumbCache(folder, threeCells()); }));
    EXPECT_EQ(saved, CacheSaveResult::CannotWrite);
    struct stat st {};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(ThumbCache, UnstorableCellsAreLeftOut) {
    std::vector<ThumbCell> cells = threeCells();
    cells.push_back(makeCell(std::string(261, 'n'), 8, 2, 2, 1));  // no room for the zero byte
    cells.push_back(makeCell(std::string(260, 'm'), 8, 2, 2, 1));  // just fits
    cells.push_back(makeCell("", 8, 2, 2, 1));
    cells.push_back(makeCell("leer.jpg", 8, 2, 2, 1));
    deldib(cells.back().thumbnail);
    cells.push_back(makeCell("tief.jpg", 8, 2, 2, 1));
    cells.back().info = makeThumbInfo(24, 2, 2, 20, 20, 1200, 1);
    cells.push_back(makeCell("gross.jpg", 24, 81, 2, 1));  // no thumbnail is wider than 80
    const Bytes bytes = formatThumbCache(cells);
    const ThumbCacheReader reader = read(bytes);
    ASSERT_EQ(reader.index().size(), 4u);
    EXPECT_EQ(reader.index()[3].name, std::string(260, 'm'));
    EXPECT_EQ(bytes[2], 4);
}

TEST(ThumbCache, TruncatedAtEveryOffsetKeepsTheCompleteEntries) {
    const std::vector<ThumbCell> cells = threeCells();
    const Bytes bytes = formatThumbCache(cells);
    std::vector<std::size_t> ends;  // where each entry ends
    for (std::size_t l : lengthOffsets(bytes, 3)) {
        uint32_t length;
        std::memcpy(&length, &bytes[l], 4);
        ends.push_back(l + 4 + length);
    }
    ASSERT_EQ(ends.back(), bytes.size());
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const Bytes cut(bytes.begin(), bytes.begin() + size);  // the reader keeps no copy
        const ThumbCacheReader reader = read(cut);
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= size) ++complete;
        ASSERT_EQ(reader.index().size(), complete) << "cut at " << size;
        for (std::size_t i = 0; i < complete; ++i)
            expectSameThumbnail(reader.loadThumbnail(reader.index()[i]), cells[i]);
    }
}

TEST(ThumbCache, DamagedFieldsAreBounded) {
    const std::vector<ThumbCell> cells = threeCells();
    const Bytes good = formatThumbCache(cells);
    const std::vector<std::size_t> lAt = lengthOffsets(good, 3);
    const std::size_t info0 = kThumbCacheHeaderBytes + kThumbCacheNameBytes;
    struct Damage {
        std::size_t at;
        int32_t value;
        std::size_t entries;
    };
    // Count; L of the second entry; bit count, width, height and colour count of the first. A width
    // of 5 rather than 4: 24-bit rows of 3 and 4 pixels pad to the same 12 bytes, so L still
    // agrees.
    const Damage damages[] = {{2, INT32_MAX, 3},
                              {2, 4, 3},
                              {2, kMaxThumbCacheEntries + 1, 3},
                              {2, 0, 0},
                              {2, -1, 0},
                              {2, INT32_MIN, 0},
                              {2, 1, 1},
                              {lAt[1], INT32_MAX, 1},
                              {lAt[1], -1, 1},
                              {lAt[1], 0, 1},
                              {lAt[1], 39, 1},
                              {lAt[1], int32_t(good.size()), 1},
                              {info0, 7, 2},
                              {info0, 32, 2},
                              {info0 + 4, 0, 2},
                              {info0 + 4, -3, 2},
                              {info0 + 8, 81, 2},
                              {info0 + 8, 1000000, 2},
                              {info0 + 20, 256, 2},
                              {info0 + 4, 5, 2}};
    for (const Damage& d : damages) {
        Bytes bytes = good;
        putInt(bytes, d.at, d.value);
        const ThumbCacheReader reader = read(bytes);
        ASSERT_EQ(reader.index().size(), d.entries) << d.at << " " << d.value;
        if (d.entries == 2) expectSameThumbnail(reader.loadThumbnail(reader.index()[1]), cells[2]);
    }
    Bytes wrongMarker = good;
    wrongMarker[0] = 0x72;
    EXPECT_TRUE(read(wrongMarker).index().empty());

    const ThumbCacheReader reader = read(good);
    CacheIndexEntry forged = reader.index()[2];
    for (uint64_t position : {uint64_t(good.size() - 10), UINT64_MAX - 5}) {
        forged.position = position;
        EXPECT_FALSE(reader.loadThumbnail(forged).valid());
    }
    forged = reader.index()[0];
    forged.info.thumbWidth = forged.info.thumbHeight = 80;
    EXPECT_FALSE(reader.loadThumbnail(forged).valid());
}
