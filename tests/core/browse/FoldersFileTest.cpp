#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "TestSupport.h"
#include "browse/FavouriteFolders.h"
#include "browse/FoldersFile.h"

using namespace pr;
using Folders = std::vector<std::string>;

namespace {

Folders parse(const std::string& text) {
    return parseFoldersFile(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

Folders parseInPieces(const std::string& text, std::size_t piece) {
    FoldersFileParser parser;
    for (std::size_t i = 0; i < text.size(); i += piece) {
        parser.feed(reinterpret_cast<const uint8_t*>(text.data()) + i, std::min(piece, text.size() - i));
    }
    return parser.finish();
}

bool writeText(const std::string& path, const std::string& text) {
    return testsupport::writeAll(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string readText(const std::string& path) {
    const std::vector<uint8_t> bytes = testsupport::readAll(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(FoldersFile, LineEndsAndEmptyLines) {
    EXPECT_EQ(parse(""), Folders{});
    EXPECT_EQ(parse("/a/\r\n/b/\r\n"), (Folders{"/a/", "/b/"}));
    // The last line needs no line end; the line end after it adds no empty favourite.
    EXPECT_EQ(parse("/a/\r\n/b/"), (Folders{"/a/", "/b/"}));
    EXPECT_EQ(parse("/a/\r\n\r\n/b/\r\n"), (Folders{"/a/", "", "/b/"}));
    EXPECT_EQ(parse("\r\n"), (Folders{""}));
    // Files edited on Linux or on an old Mac.
    EXPECT_EQ(parse("/a/\n/b/\n"), (Folders{"/a/", "/b/"}));
    EXPECT_EQ(parse("/a/\r/b/\r"), (Folders{"/a/", "/b/"}));
    EXPECT_EQ(parse("/a/\n\r/b/"), (Folders{"/a/", "", "/b/"}));
    EXPECT_EQ(parse("\xEF\xBB\xBF/a/\r\n"), (Folders{"/a/"}));
    EXPECT_EQ(parse("\xEF\xBB"), (Folders{"\xC3\xAF\xC2\xBB"}));  // half a BOM is Windows-1252 text
    EXPECT_EQ(parse("\xEF\xBB\xBF\xEF\xBB\xBF/a/"), (Folders{"/a/"}));
    EXPECT_EQ(parse("\xEF\xBB\xBF\xEF\xBB"), (Folders{"\xC3\xAF\xC2\xBB"}));
}

TEST(FoldersFile, PiecesDoNotChangeTheResult) {
    const std::string text = "\xEF\xBB\xBF/a/\r\n\r\n/b\xE4/\r\n/c/\r/d/\n/e/";
    const Folders whole = parse(text);
    EXPECT_EQ(whole, (Folders{"/a/", "", "/b\xC3\xA4/", "/c/", "/d/", "/e/"}));
    for (std::size_t piece = 1; piece < 6; ++piece) EXPECT_EQ(parseInPieces(text, piece), whole);
}

TEST(FoldersFile, EachLineIsDecodedOnItsOwn) {
    // One line from Windows, one in UTF-8: each keeps its own meaning.
    EXPECT_EQ(parse("C:\\M\xFCller\\\r\n/home/m\xC3\xBCller/\r\n"),
              (Folders{"C:\\M\xC3\xBCller\\", "/home/m\xC3\xBCller/"}));
}

TEST(FoldersFile, OverlongLinesAndZeroBytesArePassedOver) {
    const std::string longest(kMaxFavouriteFolderBytes, 'x');
    const std::string tooLong(kMaxFavouriteFolderBytes + 1, 'y');
    EXPECT_EQ(parse("/a/\r\n" + tooLong + "\r\n" + longest + "\r\n/b/"),
              (Folders{"/a/", longest, "/b/"}));
    EXPECT_EQ(parse(std::string(10'000'000, 'z')), Folders{});
    EXPECT_EQ(parse(std::string("/a\0b/\r\n/c/", 10)), (Folders{"/c/"}));
    // A Windows-1252 line that only outgrows the limit in UTF-8 could not be written back whole.
    const std::string umlauts(kMaxFavouriteFolderBytes / 2 + 1, '\xE4');
    EXPECT_EQ(parse(umlauts + "\r\n/b/"), (Folders{"/b/"}));
}

// Found by fuzzing: the first line was passed over, the second was a lone U+FEFF, and written back
// at the start of the file it was read as a byte-order mark, so the list changed by saving.
TEST(FoldersFile, LineStartingWithByteOrderMarkIsNotChangedBySaving) {
    const Folders folders = parse(std::string("\0\r\n\xEF\xBB\xBF\n\xEF\xBB\xBF/a/\n/b/", 17));
    EXPECT_EQ(folders, Folders{"/b/"});
    const std::string written = formatFoldersFile(folders);
    EXPECT_EQ(parse(written), folders);
    Folders list;
    EXPECT_FALSE(moveFolderToTop(list, "\xEF\xBB\xBF/a/"));
}

TEST(FoldersFile, StopsAtTheCountLimit) {
    std::string text;
    for (std::size_t i = 0; i < kMaxFavouriteFolders + 50; ++i) text += "/f" + std::to_string(i) + "/\r\n";
    const Folders folders = parse(text);
    ASSERT_EQ(folders.size(), kMaxFavouriteFolders);
    EXPECT_EQ(folders.back(), "/f" + std::to_string(kMaxFavouriteFolders - 1) + "/");
}

TEST(FavouriteFolders, MoveToTop) {
    Folders list{"/a/", "/b/", "/c/"};
    ASSERT_TRUE(moveFolderToTop(list, "/c/"));
    EXPECT_EQ(list, (Folders{"/c/", "/a/", "/b/"}));
    ASSERT_TRUE(moveFolderToTop(list, "/c/"));  // adding twice from one folder
    EXPECT_EQ(list, (Folders{"/c/", "/a/", "/b/"}));
    ASSERT_TRUE(moveFolderToTop(list, "/A/"));  // case makes another favourite
    EXPECT_EQ(list, (Folders{"/A/", "/c/", "/a/", "/b/"}));
    ASSERT_TRUE(moveFolderToTop(list, "/new/"));
    EXPECT_EQ(list.front(), "/new/");
    EXPECT_EQ(list.size(), 5u);

    // Only the last of several equal items goes; a hand-edited file may hold duplicates.
    Folders dup{"/x/", "/y/", "/x/", "/z/"};
    ASSERT_TRUE(moveFolderToTop(dup, "/x/"));
    EXPECT_EQ(dup, (Folders{"/x/", "/x/", "/y/", "/z/"}));
}

TEST(FavouriteFolders, RefusesWhatCannotBeReadBackAndDropsTheOldest) {
    Folders list{"/a/"};
    EXPECT_FALSE(moveFolderToTop(list, "/evil\r\n/"));
    EXPECT_FALSE(moveFolderToTop(list, "/line\nbreak/"));
    EXPECT_FALSE(moveFolderToTop(list, std::string("/nul\0/", 6)));
    EXPECT_FALSE(moveFolderToTop(list, "/" + std::string(kMaxFavouriteFolderBytes, 'x')));
    EXPECT_EQ(list, Folders{"/a/"});

    Folders full;
    for (std::size_t i = 0; i < kMaxFavouriteFolders; ++i) full.push_back("/f" + std::to_string(i) + "/");
    ASSERT_TRUE(moveFolderToTop(full, "/newest/"));
    ASSERT_EQ(full.size(), kMaxFavouriteFolders);
    EXPECT_EQ(full.front(), "/newest/");
    EXPECT_EQ(full.back(), "/f" + std::to_string(kMaxFavouriteFolders - 2) + "/");
}

TEST(FoldersFile, WriteAndReadBack) {
    testsupport::TempDir dir;
    const std::string path = dir.file("folders.dat");
    EXPECT_EQ(readFoldersFile(path), Folders{});  // no file: no favourites
    const Folders list{"/home/anna/Bilder/", "", "/m\xC3\xBCnchen/"};
    ASSERT_TRUE(writeFoldersFile(path, list));
    EXPECT_EQ(readText(path), "/home/anna/Bilder/\r\n\r\n/m\xC3\xBCnchen/\r\n");
    EXPECT_EQ(readFoldersFile(path), list);
    ASSERT_TRUE(writeFoldersFile(path, {}));
    EXPECT_EQ(readText(path), "");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()), 1);
    // The per-user data folder does not exist on a fresh account.
    ASSERT_TRUE(writeFoldersFile(dir.file("data/Pixo-Rahmler/folders.dat"), {"/a/"}));
    EXPECT_EQ(readFoldersFile(dir.file("data/Pixo-Rahmler/folders.dat")), Folders{"/a/"});
}

TEST(FoldersFile, WindowsFileComesBackAsUtf8) {
    testsupport::TempDir dir;
    const std::string path = dir.file("folders.dat");
    ASSERT_TRUE(writeText(path, "C:\\Gr\xFC\xDF" "e\\\r\nD:\\\r\n"));
    Folders list = readFoldersFile(path);
    ASSERT_EQ(list, (Folders{"C:\\Gr\xC3\xBC\xC3\x9F" "e\\", "D:\\"}));
    ASSERT_TRUE(moveFolderToTop(list, "/neu/"));
    ASSERT_TRUE(writeFoldersFile(path, list));
    EXPECT_EQ(readFoldersFile(path), list);
}

TEST(FoldersFile, FailedSaveKeepsTheOldFile) {
    testsupport::TempDir dir;
    const std::string path = dir.file("folders.dat");
    ASSERT_TRUE(writeFoldersFile(path, {"/alt/"}));

    // A target that cannot be replaced by a rename: a non-empty folder of that name.
    const std::string blocked = dir.file("blocked.dat");
    std::filesystem::create_directories(blocked + "/inside");
    EXPECT_FALSE(writeFoldersFile(blocked, {"/neu/"}));
    EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));

    // A folder in which nothing can be created.
    EXPECT_FALSE(writeFoldersFile("/proc/folders.dat", {"/neu/"}));

    if (geteuid() != 0) {  // root writes into read-only folders regardless
        ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(writeFoldersFile(path, {"/neu/"}));
        ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    }
    EXPECT_EQ(readFoldersFile(path), Folders{"/alt/"});
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
    EXPECT_EQ(entries, 2);
}

TEST(FoldersFile, LivesInTheProgramFolderWhenWritable) {
    testsupport::TempDir program;
    testsupport::TempDir user;
    EXPECT_EQ(foldersFilePath(program.path().string(), user.path().string()),
              program.path().string() + "/folders.dat");
    EXPECT_EQ(foldersFilePath(program.path().string() + "/", user.path().string()),
              program.path().string() + "/folders.dat");
    EXPECT_EQ(foldersFilePath(program.file("missing"), user.path().string()),
              user.path().string() + "/folders.dat");
    EXPECT_EQ(foldersFilePath("", user.path().string()), user.path().string() + "/folders.dat");
    // /proc refuses new files even to root.
    EXPECT_EQ(foldersFilePath("/proc", user.path().string()), user.path().string() + "/folders.dat");
}
