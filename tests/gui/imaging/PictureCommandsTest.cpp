// The quarter-turn and quality commands on the album's placements, as the window calls them.

#include "ImagingFixture.h"
#include "gui/imaging/QualityCommands.h"

using namespace imagingtest;

namespace {

using PictureCommandsTest = ImagingTest;

TEST_F(PictureCommandsTest, TurnsTheSelectedPictureForEveryFrameAndLeftRightGivesItBack) {
    for (int bits : {1, 8, 24}) {
        SCOPED_TRACE(bits);
        album.DelallPics();
        redraws = 0;
        progress.clear();
        const int32_t other = placed(picture(24, 4, 4));
        const int32_t key = placed(picture(bits, 100, 50), 2);
        const pr::ImageBuffer before = image(key);  // keeps the unturned pixels
        const auto original = bytesOf(before);
        const auto otherBefore = bytesOf(image(other));

        pr::Nachrechtsrotieren901Click(context());
        ASSERT_EQ(image(key).width(), 50);
        ASSERT_EQ(image(key).height(), 100);
        EXPECT_EQ(pr::getpixel(image(key), 49, 0), pr::getpixel(before, 0, 0));
        EXPECT_EQ(album.Pictures[1].Rotation, 1);
        EXPECT_EQ(bytesOf(image(other)), otherBefore);
        for (uint32_t i : {1u, 2u}) {  // both frames find the turned picture by key
            pr::ImageBuffer shown;
            ASSERT_TRUE(album.getnumdib(album.placementAt(i)->ImageKey, shown));
            EXPECT_EQ(shown.width(), 50);
        }
        EXPECT_EQ(redraws, 1);
        // The turn is only recorded; the pixels are turned when a rendition is made.
        EXPECT_TRUE(progress.empty());

        pr::Nachlinksrotieren901Click(context());
        pr::Nachlinksrotieren901Click(context());
        EXPECT_EQ(album.Pictures[1].Rotation, 3);
        pr::Nachrechtsrotieren901Click(context());
        EXPECT_EQ(album.Pictures[1].Rotation, 0);
        EXPECT_EQ(bytesOf(image(key)), original);
    }
}

TEST_F(PictureCommandsTest, WithoutAUsableSelectionNothingHappens) {
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

TEST_F(PictureCommandsTest, AFrameBeyondTheQualityLimitsIsReportedOnceForEachFrame) {
    const int32_t tall = placed(picture(4, 20, 400));  // 300 dpi over 1 m: far too big
    album.placementAt(0)->Width = 39.37;
    const int32_t fine = placed(picture(24, 300, 200));
    album.placementAt(1)->Width = 4;
    const auto before = bytesOf(image(tall));

    EXPECT_EQ(pr::ChangequalShown(album, *album.placementAt(0), {true, 300}, prompter),
              pr::QualityOutcome::ResizeFailed);
    EXPECT_EQ(bytesOf(image(tall)), before);  // not even raised to 24 bits
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("Fehler beim automatischen erhöhen der Qualität..."));
    EXPECT_EQ(prompter.shown[0].icon, pr::Prompter::Icon::Error);

    prompter.shown.clear();
    *reinterpret_cast<pr::Placement*>(album.Placements.Append()) = *album.placementAt(0);
    pr::CheckallqualsShown(album, {true, 300}, prompter, context().progress);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(image(fine).width(), 1200);
    EXPECT_EQ(progress.back(), 0);
}

}  // namespace
