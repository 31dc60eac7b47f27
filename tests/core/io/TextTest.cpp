#include <gtest/gtest.h>

#include <string>

#include "core/io/PathText.h"
#include "core/io/StoredText.h"
#include "core/io/UpperText.h"

using namespace pr;

TEST(PathText, SeparatorsAndExtensions) {
    EXPECT_EQ(WithBackslash("/home/anna/Bilder"), "/home/anna/Bilder/");
    EXPECT_EQ(WithBackslash("/home/anna/Bilder/"), "/home/anna/Bilder/");
    EXPECT_EQ(WithBackslash(""), "");
    EXPECT_EQ(WithBackslash("C:\\Bilder\\"),
              "C:\\Bilder\\/");  // a backslash is part of a name here
    // Stored paths may come from Windows; local ones are Linux paths, where '\\' and ':' are
    // ordinary characters of a name.
    const struct {
        const char* path;
        const char* storedFolder;
        const char* localFolder;
    } paths[] = {
        {"C:\\Urlaub 2003\\Strand.JPG", "C:\\Urlaub 2003\\", ""},
        {"D:/Fotos\\alt/a.jpg", "D:/Fotos\\alt/", "D:/Fotos\\alt/"},
        {"C:a.jpg", "C:", ""},
        {"12:30.jpg", "", ""},
        {"bild.png", "", ""},
        {"/home/a/", "/home/a/", "/home/a/"},
        {"/home/a\\b.jpg", "/home/a\\", "/home/"},
    };
    for (const auto& c : paths) {
        const std::string path = c.path;
        const PathParts stored = splitStoredPath(path), local = splitLocalPath(path);
        EXPECT_EQ(stored.folder, c.storedFolder) << path;
        EXPECT_EQ(local.folder, c.localFolder) << path;
        EXPECT_EQ(stored.folder + stored.name, path);
        EXPECT_EQ(local.folder + local.name, path);
    }
    const std::pair<const char*, const char*> ext[] = {{"a.tar.JPG", ".JPG"},
                                                       {"README", ""},
                                                       {"dot.", "."},
                                                       {".jpg", ".jpg"},
                                                       {"fotos.2019/scan", ""}};
    for (const auto& [name, e] : ext) EXPECT_EQ(fileExtension(name), e) << name;
}

TEST(UpperText, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(UpperText("abc.JpG xyz_09"), "ABC.JPG XYZ_09");
    EXPECT_EQ(UpperText("b\xC3\xA4r"), "B\xC3\xA4R");  // "ä" keeps its bytes
    EXPECT_TRUE(equalsUpperText("IMG_0001.JPG", "img_0001.jpg"));
    EXPECT_FALSE(equalsUpperText("\xC3\xA4.jpg", "\xC3\x84.jpg"));
    EXPECT_FALSE(equalsUpperText("a.jpg", "a.jpg "));
}

TEST(StoredText, Utf8StaysAndWindows1252IsConverted) {
    const std::string utf8 =
        "/home/j\xC3\xBCrgen/Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x93\xB7";
    EXPECT_EQ(decodeStoredText(utf8), utf8);
    EXPECT_EQ(decodeStoredText("C:\\Bilder\\Gr\xFC\xDF"
                               "e \x80"),
              "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x82\xAC");
    // The bytes Windows-1252 leaves undefined survive as control characters.
    EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D\x9F\xFF"),
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8\xC3\xBF");
    // Malformed UTF-8: cut off, overlong, surrogate, above U+10FFFF, five bytes, lone continuation.
    for (const char* bad :
         {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
          "a\x80"
          "b"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF itself
    EXPECT_EQ(decodeStoredText(std::string("\xC0\xAF")), "\xC3\x80\xC2\xAF");
}

TEST(StoredText, ClippingNeverCutsACharacter) {
    const std::pair<std::size_t, const char*> cuts[] = {
        {0, ""},          {1, "a"},         {2, "a"},
        {3, "a\xC3\xA4"}, {5, "a\xC3\xA4"}, {6, "a\xC3\xA4\xE2\x82\xAC"}};
    for (const auto& [bytes, expected] : cuts)
        EXPECT_EQ(clipUtf8("a\xC3\xA4\xE2\x82\xAC", bytes), expected) << bytes;
    // Bytes that are no UTF-8 are cut anywhere.
    EXPECT_EQ(clipUtf8("\xFF\xFE\xFD", 2), "\xFF\xFE");
}

// Written as the Windows program reads it wherever that is possible, read back unchanged always.
TEST(StoredText, AlbumTextsAreStoredAsWindows1252WhenTheyCanBe) {
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
        EXPECT_EQ(encodeStoredText(text), stored) << text;
        EXPECT_EQ(decodeStoredText(stored), text) << text;
    }
}
