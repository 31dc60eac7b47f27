#include <gtest/gtest.h>

#include "ProcessingPictures.h"
#include "core/imaging/DepthUpTo.h"

using namespace pr;
using namespace proctest;

namespace {

// A predictable random source, and the palette entry number k it yields: red, green and blue
// each with the two lowest bits cleared.
RandomFn countingRandom() {
    return [next = 0](int n) mutable { return (next++ * 37 + 3) % n; };
}
uint32_t randomEntry(int k) {
    auto v = [](int call) { return static_cast<uint32_t>(((call * 37 + 3) % 256) & 0xFC); };
    return v(3 * k) | v(3 * k + 1) << 8 | v(3 * k + 2) << 16;
}

// Entry i of the palette, of the colour table and of the palette handle, all three as RGB.
uint32_t entry(const ImageBuffer& b, int i) {
    const PaletteEntry& e = b.palette.entries[i];
    const RgbQuad& q = b.info->colors[i];
    const PaletteEntry& h = b.paletteHandle->entries[i];
    EXPECT_TRUE(e.red == q.red && e.green == q.green && e.blue == q.blue) << i;
    EXPECT_TRUE(e.red == h.red && e.green == h.green && e.blue == h.blue) << i;
    return e.red | e.green << 8 | e.blue << 16;
}

}  // namespace

TEST(DepthUpTo, PaletteToTrueColourLooksUpEveryIndex) {
    for (int bits : {4, 8}) {
        ImageBuffer pic = randomPicture(7, 5, bits, 40 + bits);
        const ImageBuffer before = pic;
        ASSERT_EQ(DepthUpTo(pic, 24), DepthResult::Converted);
        ASSERT_EQ(pic.bitCount(), 24);
        EXPECT_FALSE(pic.hasPalette);
        std::vector<uint32_t> expected;
        for (uint32_t i : pixels(before)) expected.push_back(entry(before, static_cast<int>(i)));
        EXPECT_EQ(pixels(pic), expected);
    }
}

TEST(DepthUpTo, TwoColourPicturesBecomeBlackAndWhiteWhateverTheirPalette) {
    ImageBuffer pic = randomPicture(11, 3, 1, 50);
    pic.info->colors[0] = RgbQuad{0, 0, 200, 0};  // a red "black" and a dark blue "white"
    pic.info->colors[1] = RgbQuad{90, 0, 0, 0};
    syncPalette(pic);
    for (int target : {4, 8, 24}) {
        SCOPED_TRACE(target);
        ImageBuffer up = pic;
        ASSERT_EQ(DepthUpTo(up, target, {}, countingRandom()), DepthResult::Converted);
        const uint32_t on = target == 24 ? 0xFFFFFFu : (1u << target) - 1;
        std::vector<uint32_t> expected;
        for (uint32_t i : pixels(pic)) expected.push_back(i ? on : 0u);
        EXPECT_EQ(pixels(up), expected);
        if (target == 24) continue;
        EXPECT_EQ(entry(up, 0), 0u);
        EXPECT_EQ(entry(up, static_cast<int>(on)), 0xFFFFFFu);
        for (int i = 1; i < static_cast<int>(on); ++i) EXPECT_EQ(entry(up, i), randomEntry(i - 1));
    }
}

TEST(DepthUpTo, SixteenColoursKeepTheirEntriesAndIndexes) {
    ImageBuffer pic = randomPicture(9, 4, 4, 60);
    const ImageBuffer before = pic;
    ASSERT_EQ(DepthUpTo(pic, 8, {}, countingRandom()), DepthResult::Converted);
    ASSERT_EQ(pic.bitCount(), 8);
    EXPECT_EQ(pixels(pic), pixels(before));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(pic, i), entry(before, i));
    for (int i = 16; i < 256; ++i) EXPECT_EQ(entry(pic, i), randomEntry(i - 16));
}

TEST(DepthUpTo, PairsOutsideTheListLeaveThePictureAsItWas) {
    const std::pair<int, int> pairs[] = {{24, 24}, {8, 8},  {8, 4}, {1, 1},
                                         {24, 8},  {8, 16}, {4, 32}};
    for (auto [source, target] : pairs) {
        ImageBuffer pic = randomPicture(5, 3, source, 70);
        const uint8_t* bits = pic.bits;
        EXPECT_EQ(DepthUpTo(pic, target), DepthResult::Unchanged) << target << "<-" << source;
        EXPECT_EQ(pic.bits, bits);
        EXPECT_EQ(pic.bitCount(), source);
    }
}
