// Reading input files (InputFile) and replacing files atomically (AtomicFile).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "NonRegularFiles.h"
#include "TestSupport.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"

using namespace pr;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<uint8_t> kNew = {'n', 'e', 'w', '!', 0, 0xFF};

bool save(const std::string& path, const std::vector<uint8_t>& bytes) {
    return saveFileAtomically(path, bytes.data(), bytes.size());
}

// Files in the folder besides `keep`: a leftover temporary file shows up here.
std::vector<std::string> othersIn(const TempDir& dir, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename() != keep) names.push_back(e.path().filename().string());
    return names;
}

}  // namespace

// Only regular files open; a FIFO without a writer is refused at once instead of holding the
// open (and the thread that asked) until a writer comes.
TEST(InputFile, OpensRegularFilesOnlyAndNeverWaits) {
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("a"), kNew));
    ASSERT_TRUE(testsupport::makeFifo(dir.file("fifo")));
    const std::pair<std::string, bool> cases[] = {
        {dir.file("a"), true},        {dir.file("missing"), false},
        {dir.path().string(), false},  // a folder opens but is no file
        {"/dev/zero", false},          // endless: never read
        {dir.file("fifo"), false},
    };
    for (const auto& [path, opens] : cases) {
        InputFile file;
        bool opened = !opens;
        EXPECT_TRUE(testsupport::finishesWithoutAWriter(path, [&] { opened = file.open(path); }))
            << path;
        EXPECT_EQ(opened, opens) << path;
        EXPECT_EQ(file.isOpen(), opens) << path;
    }
    // Blocking reads again once opened: the whole of a regular file arrives in one call.
    InputFile file;
    ASSERT_TRUE(file.open(dir.file("a")));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(file.readUpTo(bytes, file.size()));
    EXPECT_EQ(bytes, kNew);
}

TEST(InputFile, AHeaderFirstAndThenTheRestGiveTheWholeFile) {
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("a"), kNew));
    InputFile file;
    ASSERT_TRUE(file.open(dir.file("a")));
    EXPECT_EQ(file.size(), kNew.size());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(file.readUpTo(bytes, 2));
    EXPECT_EQ(bytes, std::vector<uint8_t>(kNew.begin(), kNew.begin() + 2));
    ASSERT_TRUE(file.readUpTo(bytes, 1000));  // never beyond the end
    EXPECT_EQ(bytes, kNew);

    uint8_t two[2] = {};
    EXPECT_TRUE(file.readExactlyAt(4, two, 2));
    EXPECT_EQ(two[1], 0xFF);
    EXPECT_FALSE(file.readExactlyAt(5, two, 2));
    EXPECT_EQ(file.readAt(5, two, 2), 1);
    EXPECT_EQ(file.readAt(99, two, 2), 0);

    InputFile moved = std::move(file);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(moved.isOpen());
    EXPECT_EQ(file.readAt(0, two, 1), -1);
}

TEST(AtomicFile, ReplacesWholeOrNotAtAll) {
    TempDir dir;
    const std::string target = dir.file("album.pxr");
    ASSERT_TRUE(writeAll(target, kOld));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(save(target, kNew));
    EXPECT_EQ(readAll(target), kNew);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the replaced file keeps its permissions";

    // A save that is given up leaves the old file and no temporary file behind.
    {
        AtomicFile file;
        ASSERT_TRUE(file.open(target));
        ASSERT_TRUE(file.write(kOld.data(), kOld.size()));
    }
    EXPECT_EQ(readAll(target), kNew);
    EXPECT_TRUE(othersIn(dir, "album.pxr").empty());

    // A folder that does not exist, and a name that is a folder: nothing changes.
    EXPECT_FALSE(save(dir.file("nicht/da.pxr"), kNew));
    std::filesystem::create_directory(dir.file("ordner"));
    EXPECT_FALSE(save(dir.file("ordner"), kNew));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("ordner")));
    EXPECT_EQ(othersIn(dir, "album.pxr"), std::vector<std::string>{"ordner"});
}

TEST(AtomicFile, WritesThroughLinksAndTakesTheLongestNames) {
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("real.pxr"), kOld));
    std::filesystem::create_symlink("real.pxr", dir.file("link.pxr"));
    ASSERT_TRUE(save(dir.file("link.pxr"), kNew));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.pxr")));
    EXPECT_EQ(readAll(dir.file("real.pxr")), kNew);

    // 255 bytes is the longest name a Linux file system takes; the temporary name must fit too.
    for (const std::size_t length : {250, 255}) {
        const std::string name = std::string(length - 4, 'x') + ".pxr";
        ASSERT_TRUE(save(dir.file(name), kNew)) << length;
        EXPECT_EQ(readAll(dir.file(name)), kNew);
    }
    EXPECT_EQ(othersIn(dir, "").size(), 4u);

    // A bare name is written in the working folder.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_TRUE(save("bare.pxr", kNew));
    std::filesystem::current_path(before);
    EXPECT_EQ(readAll(dir.file("bare.pxr")), kNew);
}
