#include <gtest/gtest.h>

#include "core/album/AlbumFileText.h"

using namespace pr;

TEST(AlbumFileText, StoredTextAndPaths) {
    EXPECT_EQ(decodeAlbumText("M\xC3\xBCller"), "M\xC3\xBCller");
    EXPECT_EQ(decodeAlbumText("\x80 \x9F \x81"), "\xE2\x82\xAC \xC5\xB8 \xC2\x81");
    EXPECT_EQ(clipAlbumText("a\xC3\xA4", 2), "a");

    EXPECT_EQ(splitAlbumPath("C:\\Fotos\\a.jpg").name, "a.jpg");
    EXPECT_EQ(splitAlbumPath("C:a.jpg").folder, "C:");
    // A colon elsewhere is part of a Linux file name, not a drive.
    EXPECT_EQ(resolveStoredPath("12:30.jpg", "/alb/"), "/alb/12:30.jpg");
    EXPECT_EQ(resolveStoredPath("", "/alb/"), "");
    EXPECT_EQ(resolveStoredPath("D:\\x.jpg", "/alb/"), "D:\\x.jpg");
}
