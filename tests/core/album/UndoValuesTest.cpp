// The values the album's history keeps: placement snapshots and picture entries.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/album/Album.h"
#include "core/album/PictureEntries.h"
#include "core/album/PlacementsSnapshot.h"

using namespace pr;

namespace {

ImageBuffer pixels(int w, int h) {
    ImageBuffer b;
    newdib(b, w, h, 24);
    return b;
}

Album& threePictures(Album& a) {
    for (const char* name : {"/a.png", "/b.png", "/c.png"}) a.addPicture(name, pixels(4, 3));
    for (int32_t key : {0, 1, 2, 0}) {
        auto* p = reinterpret_cast<Placement*>(a.Placements.Append());
        *p = Placement{0.5 * key, 1, 2, 1.5, 1, key, 0, {}};
    }
    return a;
}

}  // namespace

TEST(PlacementsSnapshot, RestoresRecordsSelectionAndEnlargementsExactly) {
    Album a;
    threePictures(a);
    a.SelectedPlacement = 2;
    a.Pictures[1].EnlargedWidth = 300;
    a.Pictures[1].EnlargedHeight = 225;
    const PlacementsSnapshot before = PlacementsSnapshot::of(a);

    a.Placements.Delete(0);
    a.placementAt(0)->Left = 7;
    a.SelectedPlacement = -1;
    a.Pictures[1].EnlargedWidth = 0;
    a.Pictures[1].EnlargedHeight = 0;
    a.Pictures[2].EnlargedWidth = 99;  // enlarged after the snapshot: not in it
    a.Pictures[2].EnlargedHeight = 70;
    ASSERT_NE(PlacementsSnapshot::of(a), before);

    ASSERT_TRUE(before.restore(a));
    EXPECT_EQ(PlacementsSnapshot::of(a), before);
    ASSERT_EQ(a.placementCount(), 4u);
    EXPECT_EQ(a.placementAt(0)->Left, 0);
    EXPECT_EQ(a.SelectedPlacement, 2);
    EXPECT_EQ(a.Pictures[1].EnlargedWidth, 300);
    EXPECT_EQ(a.Pictures[2].EnlargedWidth, 0);
}

TEST(PlacementsSnapshot, EqualRecordsAreHeldOnce) {
    Album a;
    threePictures(a);
    PlacementsSnapshot first = PlacementsSnapshot::of(a);
    PlacementsSnapshot second = PlacementsSnapshot::of(a);
    const std::size_t apart = first.bytes() + second.bytes();
    second.shareRecordsWith(first);
    EXPECT_EQ(first.bytes() + second.bytes(), apart - 4 * sizeof(Placement));
    EXPECT_EQ(second, first);

    a.placementAt(2)->Top = 9;  // other records: nothing to share
    PlacementsSnapshot third = PlacementsSnapshot::of(a);
    const std::size_t alone = third.bytes();
    third.shareRecordsWith(first);
    EXPECT_EQ(third.bytes(), alone);
    EXPECT_NE(third, first);
    ASSERT_TRUE(third.restore(a));
    EXPECT_EQ(a.placementAt(2)->Top, 9);
}

TEST(PlacementsSnapshot, ComparesRecordsByteForByte) {
    Album a;
    threePictures(a);
    const PlacementsSnapshot plus = PlacementsSnapshot::of(a);
    a.placementAt(0)->Left = -0.0;  // equal as a number, another record in the file
    EXPECT_NE(PlacementsSnapshot::of(a), plus);
}

TEST(PictureEntries, PutBackAtTheirPlacesReadingTheFilesAgain) {
    Album a;
    threePictures(a);
    a.Pictures[0].Comment = "Strand";
    a.Pictures[2].Rotation = 1;
    a.Pictures[2].Adjustments.push_back({10, 120, 0});
    const std::vector<PictureEntry> entries = pictureEntries(a, {2, 0, 2, 9});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Index, 0);
    EXPECT_FALSE(entries[0].Image.Source);  // no pixels in the entry

    removePicturesWithKeys(a, {0, 2});
    ASSERT_EQ(a.PictureCount(), 1);
    EXPECT_EQ(a.placementCount(), 1u);

    std::vector<std::string> asked;
    const std::vector<std::string> unreadable =
        insertPictureEntries(a, entries, [&](const std::vector<std::string>& paths) {
            asked = paths;
            return std::vector<PictureSourcePtr>{heldPicture(pixels(8, 6)), nullptr};
        });
    // The sources died with the removal, so both files are read; the second one fails.
    EXPECT_EQ(asked, (std::vector<std::string>{"/a.png", "/c.png"}));
    EXPECT_EQ(unreadable, std::vector<std::string>{"/c.png"});
    EXPECT_EQ(pictureKeyOrder(a), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(a.Pictures[0].Comment, "Strand");
    EXPECT_EQ(a.Pictures[0].width(), 8);
    // A placeholder, held the other way round as the turn exchanges the sides: shown 320 x 200.
    EXPECT_EQ(a.Pictures[2].width(), 320);
    EXPECT_EQ(a.Pictures[2].Adjustments.size(), 1u);
}

TEST(PictureEntries, AKeptSourceIsSharedInsteadOfReadingTheFile) {
    Album a;
    threePictures(a);
    const PictureSourcePtr stillHeld = a.Pictures[1].Source;
    const std::vector<PictureEntry> entries = pictureEntries(a, {1});
    a.removePicture(1);
    insertPictureEntries(a, entries, [](const std::vector<std::string>&) {
        ADD_FAILURE() << "read again";
        return std::vector<PictureSourcePtr>{};
    });
    EXPECT_EQ(a.Pictures[1].Source, stillHeld);
}

TEST(PictureEntries, KeyOrderIsRestoredOnlyForTheAlbumsOwnKeys) {
    Album a;
    threePictures(a);
    EXPECT_TRUE(restorePictureKeyOrder(a, {2, 0, 1}));
    EXPECT_EQ(pictureKeyOrder(a), (std::vector<int32_t>{2, 0, 1}));
    for (const std::vector<int32_t>& wrong :
         {std::vector<int32_t>{0, 1}, {0, 1, 1}, {0, 1, 5}, {0, 1, 2, 3}}) {
        EXPECT_FALSE(restorePictureKeyOrder(a, wrong));
        EXPECT_EQ(pictureKeyOrder(a), (std::vector<int32_t>{2, 0, 1}));
    }
}
