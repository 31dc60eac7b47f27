#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/album/Album.h"

using namespace pr;

namespace {

ImageBuffer smallPicture(uint32_t colour) {
    ImageBuffer b;
    newdib(b, 2, 2, 24);
    setpixel(b, 0, 0, colour);
    return b;
}

void place(Album& a, int32_t key, int32_t page) {
    auto* p = reinterpret_cast<Placement*>(a.Placements.Append());
    p->ImageKey = key;
    p->Page = page;
}

std::vector<int32_t> pictureKeys(const Album& a) {
    std::vector<int32_t> keys;
    for (const AlbumImage& p : a.Pictures) keys.push_back(p.Key);
    return keys;
}

std::vector<int32_t> placementKeys(const Album& a) {
    std::vector<int32_t> keys;
    for (uint32_t i = 0; i < a.placementCount(); ++i) keys.push_back(a.placementAt(i)->ImageKey);
    return keys;
}

}  // namespace

TEST(Album, KeysSurviveDeleteAndNeu) {
    Album a;
    EXPECT_EQ(a.addPicture("/a.jpg", smallPicture(1)), 0);
    EXPECT_EQ(a.addPicture("/b.jpg", smallPicture(2)), 1);
    ASSERT_TRUE(a.removePicture(0));
    EXPECT_EQ(a.addPicture("/c.jpg", smallPicture(3)), 2);
    EXPECT_EQ(pictureKeys(a), (std::vector<int32_t>{1, 2}));

    ImageBuffer copy;  // a shared descriptor outlives the album's pictures
    ASSERT_TRUE(a.getnumdib(2, copy));
    a.StripSelection = 1;
    a.AlbumFileName = "/x.pxr";
    place(a, 1, 1);
    a.SelectedPlacement = 0;
    a.DelallPics();
    EXPECT_EQ(getpixel(copy, 0, 0), 3u);
    EXPECT_EQ(a.PictureCount(), 0);
    EXPECT_EQ(a.placementCount(), 0u);
    EXPECT_EQ(a.SelectedPlacement, -1);
    EXPECT_EQ(a.CurrentPlacement, nullptr);
    EXPECT_EQ(a.StripSelection, 1);
    EXPECT_EQ(a.AlbumFileName, "/x.pxr");
    EXPECT_EQ(a.addPicture("/d.jpg", smallPicture(4)), 3);
}

TEST(Album, LookupsByKey) {
    Album a;
    ImageBuffer pic = smallPicture(0x123456);
    a.addPicture("/p/one.png", pic);
    a.addPicture("/p/two.png", smallPicture(7));
    a.Pictures[1].Comment = "Strand";

    std::string s = "untouched";
    EXPECT_TRUE(a.getnumComment(0, s));
    EXPECT_EQ(s, "");  // no caption reads as empty
    EXPECT_TRUE(a.getnumComment(1, s));
    EXPECT_EQ(s, "Strand");
    s = "untouched";
    EXPECT_FALSE(a.getnumComment(99, s));
    EXPECT_FALSE(a.getnumfname(-1, s));
    EXPECT_EQ(s, "untouched");

    ImageBuffer dest;
    EXPECT_FALSE(a.getnumdib(5, dest));
    ASSERT_TRUE(a.getnumdib(0, dest));
    EXPECT_EQ(dest.bits, pic.bits);  // shares the album's pixels

    a.Pictures[1].Key = 0;  // a damaged album holding a key twice: the first match wins
    EXPECT_TRUE(a.getnumfname(0, s));
    EXPECT_EQ(s, "/p/one.png");
}

TEST(Album, RemovePictureTakesItsPlacementsAlongAndClampsTheSelection) {
    Album a;
    for (int i = 0; i < 5; ++i) a.addPicture("/" + std::to_string(i), smallPicture(i));
    for (auto [key, page] : {std::pair{0, 1}, {1, 1}, {2, 1}, {1, 2}, {3, 2}, {0, 2}})
        place(a, key, page);
    a.SelectedPlacement = 1;

    // Lines 1 and 3 selected in the list: removed from the last to the first.
    ASSERT_TRUE(a.removePicture(3));
    ASSERT_TRUE(a.removePicture(1));
    EXPECT_EQ(pictureKeys(a), (std::vector<int32_t>{0, 2, 4}));
    EXPECT_EQ(placementKeys(a), (std::vector<int32_t>{0, 2, 0}));
    EXPECT_EQ(a.SelectedPlacement, 1);  // still in range: stays although it now means another
    EXPECT_FALSE(a.removePicture(3));
    EXPECT_FALSE(a.removePicture(-1));

    ASSERT_TRUE(a.removePicture(0));
    EXPECT_EQ(a.SelectedPlacement, 0);  // moved to the new last placement
    EXPECT_EQ(placementKeys(a), (std::vector<int32_t>{2}));
    ASSERT_TRUE(a.removePicture(0));
    EXPECT_EQ(a.SelectedPlacement, -1);  // none left
}
