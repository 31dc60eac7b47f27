#include <gtest/gtest.h>

#include <cmath>

#include "ProcessingPictures.h"
#include "core/album/Album.h"
#include "core/album/QualityCheck.h"
#include "core/album/RotationCommand.h"
#include "core/imaging/Quality.h"
#include "core/imaging/Resize.h"

using namespace pr;
using namespace proctest;

namespace {

const QualitySettings kOn{true, 72};

void place(Album& album, int32_t key, double width) {
    auto* p = reinterpret_cast<Placement*>(album.Placements.Append());
    p->Width = width;
    p->Height = 1.0;
    p->Page = 1;
    p->ImageKey = key;
}

}  // namespace

TEST(Changequal, NarrowPicturesAreEnlargedAndNeverShrunk) {
    ImageBuffer pic = randomPicture(200, 150, 24, 1);
    ImageBuffer expected;
    ASSERT_TRUE(Resize(pic, 288, 216, true, expected));
    EXPECT_EQ(Changequal(pic, 4.0, 3.0, kOn), QualityOutcome::Enlarged);  // 72 dpi x 4 inches
    EXPECT_EQ(allPixelBytes(pic), allPixelBytes(expected));
    EXPECT_EQ(Changequal(pic, 2.0, 1.0, kOn), QualityOutcome::Unchanged);
    EXPECT_EQ(Changequal(pic, 5.0, 1.0, kOn), QualityOutcome::Enlarged);
    EXPECT_EQ(pic.width(), 360);
    EXPECT_EQ(pic.height(), 360 * 216 / 288);

    for (int width : {288, 289}) {  // exactly wide enough, or more: untouched
        ImageBuffer wide = randomPicture(width, 10, 8, 2);
        const uint8_t* bits = wide.bits;
        EXPECT_EQ(Changequal(wide, 4.0, 10.0, kOn), QualityOutcome::Unchanged);
        EXPECT_EQ(wide.bits, bits);
    }
    ImageBuffer small = randomPicture(20, 20, 4, 3);
    const uint8_t* bits = small.bits;
    EXPECT_EQ(Changequal(small, 40.0, 1.0, QualitySettings{false, 300}), QualityOutcome::Unchanged);
    for (double w : {0.0, -4.0, std::nan("")}) {  // damaged frames ask for nothing
        EXPECT_EQ(Changequal(small, w, 1.0, kOn), QualityOutcome::Unchanged);
    }
    EXPECT_EQ(small.bits, bits);
}

TEST(Changequal, PalettePicturesBecomeTrueColourAndTwoColourOnesBlackAndWhite) {
    for (int bits : {4, 8}) {
        ImageBuffer pic = randomPicture(100, 50, bits, 10 + bits);
        EXPECT_EQ(Changequal(pic, 2.0, 1.0, QualitySettings{true, 100}), QualityOutcome::Enlarged);
        EXPECT_EQ(pic.bitCount(), 24);
        EXPECT_EQ(pic.width(), 200);
        EXPECT_EQ(pic.height(), 100);
    }
    ImageBuffer mono = randomPicture(30, 20, 1, 20);
    mono.info->colors[0] = RgbQuad{0, 0, 255, 0};
    mono.info->colors[1] = RgbQuad{255, 0, 0, 0};
    syncPalette(mono);
    EXPECT_EQ(Changequal(mono, 1.0, 1.0, kOn), QualityOutcome::Enlarged);
    EXPECT_EQ(mono.bitCount(), 24);
    for (uint32_t v : pixels(mono)) ASSERT_EQ(v, (v & 0xFF) * 0x010101u) << std::hex << v;
}

TEST(Changequal, AFrameBeyondTheLimitsIsRefusedBeforeAnythingIsMade) {
    // 300 dpi over a 1 m frame of a very tall picture: 11811 x 2.3 million pixels.
    ImageBuffer tall = randomPicture(10, 2000, 8, 30);
    const std::vector<uint8_t> bytes = allPixelBytes(tall);
    EXPECT_EQ(Changequal(tall, 39.37, 1.0, QualitySettings{true, 300}),
              QualityOutcome::ResizeFailed);
    EXPECT_EQ(Changequal(tall, 1e300, 1.0, kOn), QualityOutcome::ResizeFailed);
    EXPECT_EQ(tall.bitCount(), 8);
    EXPECT_EQ(allPixelBytes(tall), bytes);
}

TEST(Checkallquals, MeasuresEveryPlacementAndReportsEachRefusedFrameOnce) {
    Album album;
    const int32_t a = album.addPicture("a.bmp", randomPicture(100, 80, 24, 40));
    const int32_t b = album.addPicture("b.bmp", randomPicture(100, 5000, 8, 41));
    place(album, a, 2.0);    // 144 px: enlarged
    place(album, a, 3.0);    // 216 px: enlarged again
    place(album, a, 1.0);    // smaller: nothing
    place(album, b, 100.0);  // 7200 x 360000: refused
    place(album, 77, 9.0);   // no such picture
    EXPECT_EQ(Checkallquals(album, kOn), std::vector<QualityOutcome>{QualityOutcome::ResizeFailed});
    EXPECT_EQ(album.Pictures[0].Image.width(), 216);
    EXPECT_EQ(album.Pictures[0].Image.height(), 172);
    EXPECT_EQ(album.Pictures[1].Image.width(), 100);
}

TEST(TurnSelectedPicture, TurnsThePictureOfEveryPlacementAndCountsTheTurns) {
    Album album;
    album.addPicture("other.bmp", randomPicture(3, 3, 24, 49));
    const int32_t key = album.addPicture("a.bmp", randomPicture(100, 50, 4, 50));
    place(album, key, 4.0);
    place(album, 0, 1.0);
    place(album, key, 2.0);
    const std::vector<uint32_t> first = pixels(album.Pictures[1].Image);

    EXPECT_FALSE(TurnSelectedPicture(album, TurnDirection::Right));  // nothing selected
    album.SelectedPlacement = 3;
    EXPECT_FALSE(TurnSelectedPicture(album, TurnDirection::Right));  // past the end
    album.SelectedPlacement = 2;
    ASSERT_TRUE(TurnSelectedPicture(album, TurnDirection::Right));
    EXPECT_EQ(album.Pictures[1].Rotation, 1);
    ImageBuffer shown;  // what the first placement of the picture draws
    ASSERT_TRUE(album.getnumdib(album.placementAt(0)->ImageKey, shown));
    EXPECT_EQ(shown.width(), 50);
    EXPECT_EQ(shown.height(), 100);
    EXPECT_EQ(album.placementAt(2)->Width, 2.0);
    EXPECT_EQ(album.Pictures[0].Image.width(), 3);

    // Four turns give back the first pixels; left from 0 counts 3.
    const auto R = TurnDirection::Right, L = TurnDirection::Left;
    for (auto [direction, want] : {std::pair{R, 2}, {R, 3}, {R, 0}, {L, 3}, {R, 0}}) {
        ASSERT_TRUE(TurnSelectedPicture(album, direction));
        EXPECT_EQ(album.Pictures[1].Rotation, want);
        if (want == 0) {
            EXPECT_EQ(pixels(album.Pictures[1].Image), first);
        }
    }
}
