#include <gtest/gtest.h>

#include <string>

#include "browse/PathText.h"
#include "browse/StoredText.h"
#include "browse/UpperText.h"

using namespace pr;

TEST(PathText, WithBackslashAppendsTheSeparatorOnlyWhenMissing) {
    EXPECT_EQ(WithBackslash("/home/anna/Bilder"), "/home/anna/Bilder/");
    EXPECT_EQ(WithBackslash("/home/anna/Bilder/"), "/home/anna/Bilder/");
    EXPECT_EQ(WithBackslash("/"), "/");
    EXPECT_EQ(WithBackslash(""), "");
    // On Linux a backslash is part of a name, not a separator.
    EXPECT_EQ(WithBackslash("C:\\Bilder\\"), "C:\\Bilder\\/");
}

TEST(PathText, SplitAcceptsBothSeparators) {
    const StoredPathParts windows = splitStoredPath("C:\\Urlaub 2003\\Strand.JPG");
    EXPECT_EQ(windows.folder, "C:\\Urlaub 2003\\");
    EXPECT_EQ(windows.name, "Strand.JPG");
    EXPECT_EQ(splitStoredPath("D:/Fotos\\alt/a.jpg").folder, "D:/Fotos\\alt/");
    EXPECT_EQ(splitStoredPath("bild.png").folder, "");
    EXPECT_EQ(splitStoredPath("/home/a/").name, "");
}

TEST(PathText, ExtensionIsFromTheLastDotOfTheName) {
    EXPECT_EQ(fileExtension("a.tar.JPG"), ".JPG");
    EXPECT_EQ(fileExtension("README"), "");
    EXPECT_EQ(fileExtension("dot."), ".");
    EXPECT_EQ(fileExtension(".jpg"), ".jpg");
    EXPECT_EQ(fileExtension("fotos.2019/scan"), "");
}

TEST(UpperText, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(UpperText("abc.JpG xyz_09"), "ABC.JPG XYZ_09");
    // "ä" in UTF-8 and in Windows-1252 keeps its bytes.
    EXPECT_EQ(UpperText("b\xC3\xA4r"), "B\xC3\xA4R");
    EXPECT_TRUE(equalsUpperText("IMG_0001.JPG", "img_0001.jpg"));
    EXPECT_FALSE(equalsUpperText("\xC3\xA4.jpg", "\xC3\x84.jpg"));
    EXPECT_FALSE(equalsUpperText("a.jpg", "a.jpg "));
}

TEST(StoredText, ValidUtf8StaysAsItIs) {
    const std::string utf8 = "/home/j\xC3\xBCrgen/Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x93\xB7";
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(decodeStoredText(utf8), utf8);
    EXPECT_EQ(decodeStoredText(""), "");
}

TEST(StoredText, Windows1252IsConverted) {
    // "C:\Bilder\Grüße €" as Windows wrote it.
    EXPECT_EQ(decodeStoredText("C:\\Bilder\\Gr\xFC\xDF" "e \x80"),
              "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    // The bytes Windows-1252 leaves undefined survive as control characters.
    EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(windows1252ToUtf8("\x9F\xFF"), "\xC5\xB8\xC3\xBF");
}

TEST(StoredText, MalformedUtf8IsNotTakenForUtf8) {
    EXPECT_FALSE(isValidUtf8(std::string("\xC3")));                  // cut off
    EXPECT_FALSE(isValidUtf8(std::string("\xC0\xAF")));              // overlong '/'
    EXPECT_FALSE(isValidUtf8(std::string("\xED\xA0\x80")));          // surrogate
    EXPECT_FALSE(isValidUtf8(std::string("\xF4\x90\x80\x80")));      // above U+10FFFF
    EXPECT_FALSE(isValidUtf8(std::string("\xF8\x88\x80\x80\x80")));  // five-byte form
    EXPECT_FALSE(isValidUtf8(std::string("a\x80" "b")));             // lone continuation
    EXPECT_TRUE(isValidUtf8(std::string("\xF4\x8F\xBF\xBF")));       // U+10FFFF itself
    EXPECT_EQ(decodeStoredText(std::string("\xC0\xAF")), "\xC3\x80\xC2\xAF");
}
