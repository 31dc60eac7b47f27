#include <gtest/gtest.h>

#include "ProcessingPictures.h"
#include "core/imaging/Adjust.h"
#include "core/imaging/AdjustSession.h"

using namespace pr;
using namespace proctest;

namespace {

// The three channels of a one-pixel 24-bit picture after `op`.
std::vector<int> after(void (*op)(ImageBuffer&, int), int value, std::vector<int> c) {
    ImageBuffer b;
    newdib(b, 1, 1, 24);
    for (int i = 0; i < 3; ++i) b.bits[i] = static_cast<uint8_t>(c[i]);
    op(b, value);
    return {b.bits[0], b.bits[1], b.bits[2]};
}

struct Snapshot {
    std::vector<uint8_t> pixels, table, palette;
    explicit Snapshot(const ImageBuffer& b)
        : pixels(allPixelBytes(b)), table(colourTable(b)), palette(paletteBytes(b)) {}
    bool operator==(const Snapshot& o) const {
        return pixels == o.pixels && table == o.table && palette == o.palette;
    }
};

}  // namespace

TEST(Adjust, ChannelValuesFollowTheIntegerFormulas) {
    using V = std::vector<int>;
    EXPECT_EQ(after(Helligkeit, 127, {200, 0, 128}), (V{255, 127, 255}));
    EXPECT_EQ(after(Helligkeit, -127, {100, 255, 126}), (V{0, 128, 0}));
    EXPECT_EQ(after(Kontrast, 50, {0, 127, 255}), (V{64, 127, 191}));
    EXPECT_EQ(after(Kontrast, 200, {127, 128, 0}), (V{0, 255, 0}));
    EXPECT_EQ(after(Kontrast, 150, {100, 200, 0}), (V{50, 228, 0}));
    EXPECT_EQ(after(Kontrast, 0, {0, 255, 3}), (V{127, 127, 127}));
    EXPECT_EQ(after(Saettigung, 100, {0, 100, 200}), (V{0, 72, 255}));
    EXPECT_EQ(after(Saettigung, -100, {0, 100, 255}), (V{128, 128, 128}));
    EXPECT_EQ(after(Saettigung, -50, {0, 255, 129}), (V{64, 191, 128}));
    // Out-of-range settings count as the nearest end of their slider.
    EXPECT_EQ(after(Helligkeit, 1000, {0, 10, 255}), after(Helligkeit, 127, {0, 10, 255}));
    EXPECT_EQ(after(Kontrast, -5, {0, 10, 255}), after(Kontrast, 0, {0, 10, 255}));
}

TEST(Adjust, OnePassEqualsTheThreeInTurnAndNeutralSettingsChangeNothing) {
    const int settings[][3] = {{40, 150, -30}, {-127, 0, 100}, {127, 200, -100}, {0, 100, 0}};
    for (int bits : {1, 4, 8, 24}) {
        for (const auto& s : settings) {
            ImageBuffer a = randomPicture(11, 4, bits, 800), b = randomPicture(11, 4, bits, 800);
            const Snapshot original(a);
            Helligkeit(a, s[0]);
            Kontrast(a, s[1]);
            Saettigung(a, s[2]);
            AdjustAll(b, s[0], s[1], s[2]);
            EXPECT_TRUE(Snapshot(a) == Snapshot(b)) << bits;
            if (s[0] == 0 && s[1] == 100 && s[2] == 0) {
                EXPECT_TRUE(Snapshot(a) == original);
            }
        }
    }
}

TEST(Adjust, PalettePicturesChangeTheSharedColourTableNotTheIndexes) {
    ImageBuffer pic = randomPicture(7, 3, 8, 600);
    const ImageBuffer copy = pic;
    const std::vector<uint8_t> indexes = allPixelBytes(pic);
    const int red = pic.palette.entries[0].red;
    Helligkeit(pic, 20);
    EXPECT_EQ(allPixelBytes(pic), indexes);
    EXPECT_EQ(pic.palette.entries[0].red, std::min(255, red + 20));
    EXPECT_EQ(copy.info->colors[0].red, pic.palette.entries[0].red);
    EXPECT_EQ(pic.paletteHandle->entries[0].red, pic.palette.entries[0].red);

    // Two-colour pictures take brightness and contrast but no saturation.
    ImageBuffer mono = randomPicture(9, 2, 1, 700);
    mono.info->colors[0] = RgbQuad{10, 60, 200, 0};
    syncPalette(mono);
    const Snapshot before(mono);
    Saettigung(mono, 100);
    AdjustAll(mono, 0, 100, -100);
    EXPECT_TRUE(Snapshot(mono) == before);
    Kontrast(mono, 200);
    EXPECT_EQ(mono.palette.entries[0].red, 255);
    EXPECT_EQ(mono.palette.entries[0].green, 0);
}

TEST(AdjustSession, CancelGivesBackEveryByteAndOkKeepsTheLastPreview) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        ImageBuffer picture = randomPicture(10, 6, bits, 900 + bits);
        if (bits <= 8) picture.info->colors[1].reserved = 7;  // unread bytes come back too
        const Snapshot original(picture);
        AdjustSession session;
        ASSERT_TRUE(session.begin(picture));
        session.preview(50, 150, 60);
        session.preview(-127, 20, -100);
        // Previews change the album picture itself, so the page shows them.
        EXPECT_FALSE(Snapshot(picture) == original);
        session.cancel(picture);
        EXPECT_TRUE(Snapshot(picture) == original);
        session.cancel(picture);  // a finished session leaves the picture alone
        EXPECT_TRUE(Snapshot(picture) == original);
    }
    AdjustSession noPicture;
    ImageBuffer empty;
    EXPECT_FALSE(noPicture.begin(empty));

    // Previews do not pile up, and OK keeps the last one.
    ImageBuffer picture = randomPicture(8, 8, 24, 1000), expected = randomPicture(8, 8, 24, 1000);
    AdjustAll(expected, 30, 120, 10);
    AdjustSession session;
    ASSERT_TRUE(session.begin(picture));
    session.preview(30, 120, 10);
    session.preview(30, 120, 10);
    session.accept(picture);
    EXPECT_EQ(allPixelBytes(picture), allPixelBytes(expected));
}
