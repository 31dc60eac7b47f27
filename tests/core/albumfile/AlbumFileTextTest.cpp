#include <gtest/gtest.h>

#include "album/AlbumFileText.h"

using namespace pr;

TEST(AlbumFileText, StoredTextAndPaths) {
    EXPECT_EQ(decodeAlbumText("M\xC3\xBCller"), "M\xC3\xBCller");
    EXPECT_EQ(decodeAlbumText("\x80 \x9F \x81"), "\xE2\x82\xAC \xC5\xB8 \xC2\x81");
    // Overlong, surrogate and cut-off sequences are not UTF-8: such bytes are Windows-1252.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "ab\xE2\x82"}) EXPECT_FALSE(albumTextIsUtf8(bad)) << bad;
    EXPECT_EQ(clipAlbumText("a\xC3\xA4", 2), "a");

    EXPECT_EQ(splitAlbumPath("C:\\Fotos\\a.jpg").name, "a.jpg");
    EXPECT_EQ(splitAlbumPath("C:a.jpg").folder, "C:");
    // A colon elsewhere is part of a Linux file name, not a drive.
    EXPECT_EQ(resolveStoredPath("12:30.jpg", "/alb/"), "/alb/12:30.jpg");
    EXPECT_EQ(resolveStoredPath("", "/alb/"), "");
    EXPECT_EQ(resolveStoredPath("D:\\x.jpg", "/alb/"), "D:\\x.jpg");
    EXPECT_EQ(asciiUpper("fotos\xC3\xA4"), "FOTOS\xC3\xA4");
}
