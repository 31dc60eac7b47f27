// Raising pictures to the minimum quality from the window: the failure messages.

#include "ImagingFixture.h"
#include "imaging/QualityCommands.h"

using namespace imagingtest;

namespace {

using QualityCommandsTest = ImagingTest;

TEST_F(QualityCommandsTest, AFrameBeyondTheLimitsIsReportedOnceForEachFrame) {
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
    EXPECT_TRUE(prompter.shown[0].caption.isEmpty());
    EXPECT_EQ(prompter.shown[0].icon, pr::Prompter::Icon::Error);

    prompter.shown.clear();
    *reinterpret_cast<pr::Placement*>(album.Placements.Append()) = *album.placementAt(0);
    pr::CheckallqualsShown(album, {true, 300}, prompter, context().progress);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(image(fine).width(), 1200);
    EXPECT_EQ(progress.back(), 0);
}

}  // namespace
