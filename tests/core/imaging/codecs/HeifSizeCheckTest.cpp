// HEIF files whose data describe more pixels than they announce are refused before libheif
// allocates for them (found by fuzzing: a kilobyte made libheif allocate over two gigabytes).

#include "PhotoFormatsSupport.h"
#include "core/imaging/codecs/HeifSizeCheck.h"
#include "core/imaging/codecs/IsoBoxes.h"

using namespace pr;
using namespace photo;

namespace {

TEST(IsoBoxes, SizesAreCheckedAgainstTheEnclosingBytes) {
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> types;  // the boxes read
        bool failed;
    } cases[] = {
        {"two boxes",
         {0, 0, 0, 9, 'a', 'b', 'c', 'd', 7, 0, 0, 0, 8, 'e', 'f', 'g', 'h'},
         {"abcd", "efgh"},
         false},
        {"64-bit size",
         {0, 0, 0, 1, 'w', 'i', 'd', 'e', 0, 0, 0, 0, 0, 0, 0, 17, 1},
         {"wide"},
         false},
        {"size 0 runs to the end", {0, 0, 0, 0, 'r', 'e', 's', 't', 1, 2, 3}, {"rest"}, false},
        {"longer than what is left", {0, 0, 0, 40, 'l', 'o', 'n', 'g', 1, 2}, {}, true},
        {"smaller than its header", {0, 0, 0, 4, 's', 'h', 'r', 't'}, {}, true},
        {"64-bit size past the end",
         {0, 0, 0, 1, 'w', 'i', 'd', 'e', 0x80, 0, 0, 0, 0, 0, 0, 16},
         {},
         true},
    };
    for (const auto& c : cases) {
        ByteReader in(c.bytes.data(), c.bytes.size(), ByteOrder::Big);
        std::vector<std::string> types;
        IsoBox box;
        while (nextIsoBox(in, box)) types.emplace_back(box.type);
        EXPECT_EQ(types, c.types) << c.what;
        EXPECT_EQ(!in.ok(), c.failed) << c.what;
    }
}

// The payload of the first box of `type` anywhere in the file (the file's own bytes).
uint8_t* findPayload(std::vector<uint8_t>& file, const char* type, size_t skip = 0) {
    for (size_t at = 4; at + 4 <= file.size(); ++at)
        if (std::memcmp(&file[at], type, 4) == 0 && skip-- == 0) return &file[at + 4];
    return nullptr;
}

void put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24), p[1] = uint8_t(v >> 16), p[2] = uint8_t(v >> 8), p[3] = uint8_t(v);
}

TEST(HeifSizeCheck, MorePixelsThanAnnouncedAreRefusedAtOnce) {
    testsupport::TempDir dir;
    const std::string small = dir.file("small.png"), wide = dir.file("wide.png");
    ASSERT_TRUE(writeSource(small, 24, 16, false));
    ASSERT_TRUE(writeSource(wide, 160, 120, false));
    ASSERT_TRUE(testsupport::run(quiet("heif-enc " + small + " -o " + dir.file("grid.heic"))));
    ASSERT_TRUE(testsupport::run(quiet("heif-enc " + wide + " -o " + dir.file("one.heic"))));
    // heif-enc writes the small picture as a grid of one 64 x 64 tile, whose description sits
    // in "idat"; the wider one as a single HEVC picture.
    const std::vector<uint8_t> grid = testsupport::readAll(dir.file("grid.heic"));
    const std::vector<uint8_t> one = testsupport::readAll(dir.file("one.heic"));
    ASSERT_TRUE(heifSizesFit(grid.data(), grid.size()));
    ASSERT_TRUE(heifSizesFit(one.data(), one.size()));

    std::vector<uint8_t> bigGrid = grid;
    uint8_t* description = findPayload(bigGrid, "idat");
    ASSERT_NE(description, nullptr);
    description[4] = description[5] = 0x7F;  // output width 32639 for an announced 24

    // The grid's data placed so that it runs past the end of "idat", as the fuzzer's file did.
    std::vector<uint8_t> outside = grid;
    uint8_t* iloc = findPayload(outside, "iloc");
    ASSERT_NE(iloc, nullptr);
    ASSERT_EQ(iloc[0], 1);  // version 1, 4-byte offsets and lengths
    // Header 8 bytes, the first item 20, then the second item's ID, method and reference.
    put32(iloc + 8 + 20 + 6, 7);  // its base offset

    std::vector<uint8_t> smallAnnounced = one;
    uint8_t* ispe = findPayload(smallAnnounced, "ispe");
    ASSERT_NE(ispe, nullptr);
    put32(ispe + 4, 32);  // 160 x 120 coded, 32 x 32 announced
    put32(ispe + 8, 32);

    const std::pair<const char*, const std::vector<uint8_t>*> refused[] = {
        {"grid larger than announced", &bigGrid},
        {"grid description past idat", &outside},
        {"HEVC picture larger than announced", &smallAnnounced},
    };
    for (const auto& [what, bytes] : refused) {
        EXPECT_FALSE(heifSizesFit(bytes->data(), bytes->size())) << what;
        ImageBuffer img;
        const DecodeResult r = decodePicture(bytes->data(), bytes->size(), {}, img);
        EXPECT_EQ(r.error, ImageError::Damaged) << what;
        EXPECT_FALSE(img.valid()) << what;
    }
}

}  // namespace
