#include <gtest/gtest.h>

#include "core/album/AlbumFileText.h"

using namespace pr;

TEST(AlbumFileText, StoredPathsLieInTheAlbumsFolder) {
    EXPECT_EQ(albumFolderOf("/alb/x.pxr"), "/alb/");
    EXPECT_EQ(albumFolderOf("x.pxr"), "");
    EXPECT_EQ(resolveStoredPath("a.jpg", albumFolderOf("/alb/x.pxr")), "/alb/a.jpg");
    // A colon elsewhere is part of a Linux file name, not a drive.
    EXPECT_EQ(resolveStoredPath("12:30.jpg", "/alb/"), "/alb/12:30.jpg");
    EXPECT_EQ(resolveStoredPath("", "/alb/"), "");
    EXPECT_EQ(resolveStoredPath("D:\\x.jpg", "/alb/"), "D:\\x.jpg");
}
