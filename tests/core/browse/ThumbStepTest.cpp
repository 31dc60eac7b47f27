#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/browse/ThumbCacheWriter.h"
#include "core/browse/ThumbStep.h"
#include "core/imaging/ImageBuffer.h"
#include "core/io/ByteWriter.h"

using namespace pr;
using testsupport::TempDir;

namespace {

// A Windows bitmap of 24 bits (grey ramp across) or 8 bits (grey palette), bottom-up.
std::vector<uint8_t> bmpFile(int w, int h, int bits) {
    const uint32_t rowBytes = ((w * bits + 31) / 32) * 4, table = bits == 8 ? 1024 : 0;
    ByteWriter b;
    b.bytes("BM", 2).u32(54 + table + rowBytes * h).u32(0).u32(54 + table);
    b.u32(40).i32(w).i32(h).u16(1).u16(uint16_t(bits)).u32(0).u32(rowBytes * h).zeros(16);
    for (uint32_t i = 0; i < table / 4; ++i) b.u32(i * 0x010101u);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w * bits / 8; ++x)
            b.u8(uint8_t(x / (bits / 8) * 255 / std::max(w - 1, 1)));
        b.zeros(rowBytes - w * bits / 8);
    }
    return b.take();
}

ThumbJob jobFor(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(testsupport::writeAll(dir.file(name), bytes));
    return ThumbJob{name, dir.file(name), 3, 4242};
}

ThumbCell cellWith(const std::string& name, int32_t check) {
    ThumbCell cell;
    cell.name = name;
    newdib(cell.thumbnail, 80, 40, 24);
    setpixel(cell.thumbnail, 0, 0, 0x123456);
    cell.info = makeThumbInfo(24, 80, 40, 1600, 800, 1600ull * 3 * 800, check);
    return cell;
}

}  // namespace

TEST(ThumbMaking, SizeRuleAndRecord) {
    // picture w, h, bits -> thumbnail w, h (0: no thumbnail, not an empty one)
    const int cases[][5] = {{100, 50, 24, 80, 40}, {50, 100, 24, 40, 80}, {2, 2, 24, 80, 80},
                            {300, 100, 8, 80, 26}, {1, 200, 24, 0, 0},    {200, 2, 24, 0, 0}};
    for (const auto& [w, h, bits, tw, th] : cases) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        TempDir dir;
        const std::optional<ThumbCell> cell =
            makeThumbnail(jobFor(dir, "p.bmp", bmpFile(w, h, bits)));
        ASSERT_EQ(cell.has_value(), tw != 0);
        if (!cell) continue;
        EXPECT_EQ(cell->name, "p.bmp");
        EXPECT_EQ(std::vector<int>({cell->thumbnail.width(), cell->thumbnail.height(),
                                    cell->thumbnail.bitCount()}),
                  std::vector<int>({tw, th, bits}));
        const ThumbInfo& i = cell->info;
        EXPECT_EQ(std::vector<int>({i.bitCount, i.thumbWidth, i.thumbHeight, i.pictureWidth,
                                    i.pictureHeight, i.check}),
                  std::vector<int>({bits, tw, th, w, h, 4242}));
        EXPECT_EQ(i.kiloBytes, ((w * bits + 31) / 32) * 4 * h / 1024);
    }
}

TEST(ThumbLookUp, ExtensionTableDecidesWhatIsLookedAt) {
    const ThumbCacheReader none;
    int checks = 0;
    const ThumbCheckFn check = [&checks](const std::string&) -> std::optional<int32_t> {
        ++checks;
        return 7;
    };
    for (const char* name : {"a.jpeg", "a.tiff", "README", "a.", "a.txt"})
        EXPECT_EQ(lookUpThumbnail("/pics", name, none, check).kind, ThumbLookup::NotAPicture)
            << name;
    // Nothing is examined for a file that is passed over.
    EXPECT_EQ(checks, 0);
    const ThumbLookupResult mixed = lookUpThumbnail("/pics", "Urlaub.JpG", none, check);
    ASSERT_EQ(mixed.kind, ThumbLookup::Make);
    EXPECT_EQ(mixed.job.path, "/pics/Urlaub.JpG");
    EXPECT_EQ(mixed.job.name, "Urlaub.JpG");
    EXPECT_EQ(mixed.job.formatCode, 8);
    EXPECT_EQ(mixed.job.check, 7);
    // No folder (a tree node that is not in the file system): nothing at all.
    EXPECT_EQ(lookUpThumbnail("", "a.jpg", none, check).kind, ThumbLookup::NotAPicture);
}

TEST(ThumbLookUp, CacheServesByNameRegardlessOfCaseAndByCheck) {
    const std::vector<uint8_t> bytes = formatThumbCache(
        {cellWith("OTHER.JPG", 5), cellWith("FOTO.JPG", 5), cellWith("foto.jpg", 6)});
    const ThumbCacheReader cache = ThumbCacheReader::fromBytes(bytes.data(), bytes.size());
    auto checkIs = [](int32_t v) {
        return [v](const std::string&) -> std::optional<int32_t> { return v; };
    };

    const ThumbLookupResult hit = lookUpThumbnail("/p", "foto.jpg", cache, checkIs(5));
    ASSERT_EQ(hit.kind, ThumbLookup::FromCache);
    EXPECT_EQ(hit.cell.name, "foto.jpg");  // the directory's spelling, not the entry's
    EXPECT_EQ(hit.cell.info.pictureWidth, 1600);
    EXPECT_EQ(hit.cell.info.check, 5);
    EXPECT_EQ(getpixel(hit.cell.thumbnail, 0, 0), 0x123456u);

    // The second entry of that name matches by its own check value.
    EXPECT_EQ(lookUpThumbnail("/p", "Foto.jpg", cache, checkIs(6)).kind, ThumbLookup::FromCache);
    // A picture replaced under the same name has another check value: made afresh.
    const ThumbLookupResult replaced = lookUpThumbnail("/p", "foto.jpg", cache, checkIs(9));
    ASSERT_EQ(replaced.kind, ThumbLookup::Make);
    EXPECT_EQ(replaced.job.check, 9);
    // A file that cannot be examined matches nothing and is made (and then fails to load).
    const ThumbLookupResult unknown = lookUpThumbnail(
        "/p", "foto.jpg", cache, [](const std::string&) { return std::optional<int32_t>(); });
    EXPECT_EQ(unknown.kind, ThumbLookup::Make);
    EXPECT_EQ(unknown.job.check, 0);
}
