// The quarter-turn commands on the selected placement.

#include "ImagingFixture.h"

using namespace imagingtest;

namespace {

using TurnCommandsTest = ImagingTest;

TEST_F(TurnCommandsTest, TheSelectedPictureTurnsForEveryFrameAndIsRedrawn) {
    const int32_t other = placed(picture(24, 4, 4));
    const int32_t key = placed(picture(24, 100, 50), 2);
    const pr::ImageBuffer before = image(key);  // keeps the unturned pixels
    const auto otherBefore = bytesOf(image(other));

    pr::Nachrechtsrotieren901Click(context());

    ASSERT_EQ(image(key).width(), 50);
    ASSERT_EQ(image(key).height(), 100);
    EXPECT_EQ(pr::getpixel(image(key), 49, 0),
              pr::getpixel(before, 0, 0));  // top-left to top-right
    EXPECT_EQ(album.Pictures[1].Rotation, 1);
    EXPECT_EQ(album.Pictures[0].Rotation, 0);
    EXPECT_EQ(bytesOf(image(other)), otherBefore);
    for (uint32_t i : {1u, 2u}) {  // both frames find the turned picture by key
        pr::ImageBuffer shown;
        ASSERT_TRUE(album.getnumdib(album.placementAt(i)->ImageKey, shown));
        EXPECT_EQ(shown.width(), 50);
    }
    EXPECT_EQ(redraws, 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 0);
}

TEST_F(TurnCommandsTest, LeftThenRightCountsThroughThreeAndGivesBackEveryByte) {
    for (int bits : {1, 8, 24}) {
        SCOPED_TRACE(bits);
        album.DelallPics();
        const int32_t key = placed(picture(bits, 7, 3));
        const auto original = bytesOf(image(key));
        pr::Nachlinksrotieren901Click(context());
        EXPECT_EQ(album.Pictures[0].Rotation, 3);
        EXPECT_EQ(image(key).width(), 3);
        pr::Nachrechtsrotieren901Click(context());
        EXPECT_EQ(album.Pictures[0].Rotation, 0);
        EXPECT_EQ(bytesOf(image(key)), original);
    }
}

TEST_F(TurnCommandsTest, WithoutAUsableSelectionNothingHappens) {
    const int32_t key = placed(picture(24, 5, 3));
    *reinterpret_cast<pr::Placement*>(album.Placements.Append()) =
        pr::Placement{0, 0, 1, 1, 1, 99, 0, {}};  // no such picture
    const auto original = bytesOf(image(key));
    ModalScript<QDialog> stray([](QDialog&) {});
    for (int32_t selection : {-1, 1, 2}) {
        album.SelectedPlacement = selection;
        pr::Nachlinksrotieren901Click(context());
        pr::Nachrechtsrotieren901Click(context());
        pr::HelligkeitKontrastundSttigung1Click(context());
    }
    EXPECT_EQ(bytesOf(image(key)), original);
    EXPECT_EQ(album.Pictures[0].Rotation, 0);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(stray.ran());
}

}  // namespace
