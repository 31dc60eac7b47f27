#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

#include "NonRegularFiles.h"
#include "TestSupport.h"
#include "core/browse/FavouriteFolders.h"
#include "core/browse/FoldersFile.h"

using namespace pr;
using Folders = std::vector<std::string>;

namespace {
Folders parse(const std::string& text) {
    return parseFoldersFile(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
}  // namespace

TEST(FoldersFile, ParsingCases) {
    const std::string longest(kMaxFavouriteFolderBytes, 'x');
    const struct {
        std::string text;
        Folders folders;
    } cases[] = {
        {"", {}},
        {"/a/\r\n/b/\r\n", {"/a/", "/b/"}},
        {"/a/\r\n/b/", {"/a/", "/b/"}},  // the last line needs no line end
        {"/a/\r\n\r\n/b/\r\n", {"/a/", "", "/b/"}},
        {"\r\n", {""}},
        {"/a/\n/b/\n", {"/a/", "/b/"}},  // files edited on Linux or on an old Mac
        {"/a/\r/b/\r", {"/a/", "/b/"}},
        {"/a/\n\r/b/", {"/a/", "", "/b/"}},
        {"\xEF\xBB\xBF/a/\r\n", {"/a/"}},
        {"\xEF\xBB", {"\xC3\xAF\xC2\xBB"}},  // half a BOM is Windows-1252 text
        {"\xEF\xBB\xBF\xEF\xBB\xBF/a/", {"/a/"}},
        // Each line is decoded on its own: one from Windows, one in UTF-8.
        {"C:\\M\xFCller\\\r\n/home/m\xC3\xBCller/\r\n",
         {"C:\\M\xC3\xBCller\\", "/home/m\xC3\xBCller/"}},
        // Overlong lines and zero bytes are passed over.
        {"/a/\r\n" + std::string(kMaxFavouriteFolderBytes + 1, 'y') + "\r\n" + longest + "\r\n/b/",
         {"/a/", longest, "/b/"}},
        {std::string(10'000'000, 'z'), {}},
        {std::string("/a\0b/\r\n/c/", 10), {"/c/"}},
        // A Windows-1252 line that only outgrows the limit in UTF-8 could not be written back
        // whole.
        {std::string(kMaxFavouriteFolderBytes / 2 + 1, '\xE4') + "\r\n/b/", {"/b/"}},
        // Found by fuzzing: a lone U+FEFF line written back at the start would read as a BOM.
        {std::string("\0\r\n\xEF\xBB\xBF\n\xEF\xBB\xBF/a/\n/b/", 17), {"/b/"}},
    };
    for (const auto& c : cases) {
        const Folders got = parse(c.text);
        EXPECT_EQ(got, c.folders) << c.text.substr(0, 40);
        EXPECT_EQ(parse(formatFoldersFile(got)), got) << c.text.substr(0, 40);
    }
    // Fed in pieces, the parser gives the same result.
    const std::string text = "\xEF\xBB\xBF/a/\r\n\r\n/b\xE4/\r\n/c/\r/d/\n/e/";
    for (std::size_t piece = 1; piece < 6; ++piece) {
        FoldersFileParser parser;
        for (std::size_t i = 0; i < text.size(); i += piece)
            parser.feed(reinterpret_cast<const uint8_t*>(text.data()) + i,
                        std::min(piece, text.size() - i));
        EXPECT_EQ(parser.finish(), (Folders{"/a/", "", "/b\xC3\xA4/", "/c/", "/d/", "/e/"}))
            << piece;
    }
    std::string many;
    for (std::size_t i = 0; i < kMaxFavouriteFolders + 50; ++i)
        many += "/f" + std::to_string(i) + "/\r\n";
    const Folders folders = parse(many);
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
    // Only the last of several equal items goes; a hand-edited file may hold duplicates.
    Folders dup{"/x/", "/y/", "/x/", "/z/"};
    ASSERT_TRUE(moveFolderToTop(dup, "/x/"));
    EXPECT_EQ(dup, (Folders{"/x/", "/x/", "/y/", "/z/"}));

    // What cannot be read back is refused; a full list drops the oldest.
    for (const std::string& bad :
         {std::string("/evil\r\n/"), std::string("/line\nbreak/"), std::string("/nul\0/", 6),
          "/" + std::string(kMaxFavouriteFolderBytes, 'x'), std::string("\xEF\xBB\xBF/a/")})
        EXPECT_FALSE(moveFolderToTop(list, bad));
    EXPECT_EQ(list.size(), 4u);
    Folders full;
    for (std::size_t i = 0; i < kMaxFavouriteFolders; ++i)
        full.push_back("/f" + std::to_string(i) + "/");
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
    const std::vector<uint8_t> written = testsupport::readAll(path);
    EXPECT_EQ(std::string(written.begin(), written.end()),
              "/home/anna/Bilder/\n\n/m\xC3\xBCnchen/\n");  // the platform's line ends
    EXPECT_EQ(readFoldersFile(path), list);
    // The per-user data folder does not exist on a fresh account.
    ASSERT_TRUE(writeFoldersFile(dir.file("data/Pixo-Rahmler/folders.dat"), {"/a/"}));
    EXPECT_EQ(readFoldersFile(dir.file("data/Pixo-Rahmler/folders.dat")), Folders{"/a/"});
}

// Start-up reads folders.dat on the window thread: a FIFO there gives no favourites at once.
TEST(FoldersFile, AFifoGivesNoFavouritesWithoutWaiting) {
    testsupport::TempDir dir;
    const std::string path = dir.file("folders.dat");
    ASSERT_TRUE(testsupport::makeFifo(path));
    Folders read = {"x"};
    EXPECT_TRUE(testsupport::finishesWithoutAWriter(path, [&] { read = readFoldersFile(path); }));
    EXPECT_TRUE(read.empty());
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
    EXPECT_FALSE(writeFoldersFile("/proc/folders.dat", {"/neu/"}));
    if (geteuid() != 0) {  // root writes into read-only folders regardless
        ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(writeFoldersFile(path, {"/neu/"}));
        ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    }
    EXPECT_EQ(readFoldersFile(path), Folders{"/alt/"});
    int entries = 0;  // no temporary file is left behind
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
    }
    EXPECT_EQ(entries, 2);
}

TEST(FoldersFile, LivesInTheUserDataFolderAndAnOldOneBesideTheProgramIsReadUntilThen) {
    testsupport::TempDir program, user;
    const std::string inUser = user.path().string() + "/folders.dat";
    const std::string beside = program.path().string() + "/folders.dat";
    EXPECT_EQ(foldersFilePath(user.path().string()), inUser);
    const std::string folder = program.path().string() + "/";
    EXPECT_EQ(foldersFileToRead(inUser, folder), inUser);  // neither exists
    ASSERT_TRUE(testsupport::writeAll(beside, {'/', 'a', '/', '\r', '\n'}));
    EXPECT_EQ(foldersFileToRead(inUser, folder), beside);
    EXPECT_EQ(readFoldersFile(foldersFileToRead(inUser, folder)), Folders{"/a/"});
    EXPECT_EQ(foldersFileToRead(inUser, std::string()), inUser);
    ASSERT_TRUE(writeFoldersFile(inUser, {"/b/"}));
    EXPECT_EQ(foldersFileToRead(inUser, folder), inUser);  // from now on only the user's
}
