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

// Written as the Windows program reads it wherever that is possible, read back unchanged always.
TEST(AlbumFileText, TextsAreStoredAsWindows1252WhenTheyCanBe) {
    const std::pair<std::string, std::string> cases[] = {
        {"Strand", "Strand"},
        {"Gro\xC3\x9F", "Gro\xDF"},
        {"\xE2\x82\xAC 5, \xE2\x80\x9EOma\xE2\x80\x9C", "\x80 5, \x84Oma\x93"},
        {"/home/m\xC3\xBCller/Bilder/K\xC3\xB6ln.jpg", "/home/m\xFCller/Bilder/K\xF6ln.jpg"},
        {"\xC2\x81", "\x81"},  // undefined in Windows-1252, read back as this control character
        // No Windows-1252 form: UTF-8 as it is.
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA"},                                             // Lodz with Polish letters
        {"Gro\xC3\x9F \xE2\x98\x83", "Gro\xC3\x9F \xE2\x98\x83"},  // one snowman is enough
        {"\xC2\x80", "\xC2\x80"},  // byte 80 is the euro sign, not this control character
        // The Windows-1252 form would read back as UTF-8 ("\xC3\xA4" is a-umlaut): UTF-8.
        {"\xC3\x83\xC2\xA4", "\xC3\x83\xC2\xA4"},
        {"", ""},
    };
    for (const auto& [text, stored] : cases) {
        EXPECT_EQ(encodeAlbumText(text), stored) << text;
        EXPECT_EQ(decodeAlbumText(stored), text) << text;
    }
}
