#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/layout/PlacementEditing.h"
#include "core/layout/PrintResolution.h"

using namespace pr;

namespace {

AlbumImage pictureOf(const std::string& path, int w, int h) {
    AlbumImage picture;
    picture.FileName = path;
    ImageBuffer image;
    EXPECT_TRUE(newdib(image, w, h, 24, nullptr, 0));
    picture.Source = heldPicture(image);
    return picture;
}

// The file is 400 x 300; what is in memory may be turned, enlarged, or a stand-in.
TEST(PrintResolution, CountsTheFilesPixelsTurnedAsThePictureLies) {
    testsupport::TempDir dir;
    const std::string path = dir.file("p.bmp");
    ASSERT_TRUE(
        testsupport::run(std::string(testsupport::kConvert) + " -size 400x300 xc:blue " + path));
    PictureFactsCache facts;
    struct Case {
        const char* name;
        std::string path;
        int memW, memH, wantW, wantH;
    } cases[] = {
        {"as read", path, 400, 300, 400, 300},
        {"quarter turn", path, 300, 400, 300, 400},
        {"enlarged to the minimum quality", path, 1600, 1200, 400, 300},
        {"enlarged after a turn", path, 900, 1200, 300, 400},
        {"file gone: the stand-in in memory", dir.file("gone.bmp"), 320, 200, 320, 200},
    };
    for (const Case& c : cases) {
        const PixelCount n = fullPixelSize(pictureOf(c.path, c.memW, c.memH), facts);
        EXPECT_EQ(n.width, c.wantW) << c.name;
        EXPECT_EQ(n.height, c.wantH) << c.name;
    }

    Album album;
    album.addPicture(path, pictureOf(path, 1600, 1200).Source);  // enlarged earlier
    const int32_t key = album.Pictures[0].Key;
    // 400 pixels over 4 inches: 100 dpi whatever the enlargement added.
    const int32_t i = AddPlacement(album, key, 1, 0, 0, 4, 3, false);
    ASSERT_GE(i, 0);
    EXPECT_DOUBLE_EQ(placementDpi(album, *album.placementAt(uint32_t(i)), true, facts), 100);
    album.placementAt(uint32_t(i))->ImageKey = key + 7;  // a picture that is not there
    EXPECT_EQ(placementDpi(album, *album.placementAt(uint32_t(i)), true, facts), 0);
}

}  // namespace
