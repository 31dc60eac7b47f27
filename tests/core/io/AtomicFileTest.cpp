// AtomicFile where saving goes wrong: special files at the target, full and read-only disks, a
// program killed while writing, temporary files left by earlier runs, and the German reasons.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "SmallDisk.h"
#include "TestSupport.h"
#include "core/io/AtomicFile.h"
#include "core/io/IoErrorText.h"

using namespace pr;
using testsupport::readAll;
using testsupport::SmallDisk;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void makeOld(const std::string& path, int days) {
    const time_t then = std::time(nullptr) - days * 24L * 60 * 60;
    const timeval times[2] = {{then, 0}, {then, 0}};
    ::lutimes(path.c_str(), times);
}

}  // namespace

TEST(AtomicFile, RefusesTargetsThatAreNoRegularFile) {
    TempDir dir;
    const std::string fifo = dir.file("pipe.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_symlink("pipe.pdf", dir.file("link.pdf"));
    std::filesystem::create_directory(dir.file("ordner.pdf"));
    struct Case {
        std::string path;
        int error;
    };
    const Case cases[] = {{fifo, kErrorNotRegularFile},
                          {dir.file("link.pdf"), kErrorNotRegularFile},
                          {dir.file("ordner.pdf"), EISDIR}};
    for (const Case& c : cases) {
        AtomicFile file;
        EXPECT_FALSE(file.open(c.path)) << c.path;  // a FIFO would block here if it were opened
        EXPECT_EQ(file.error(), c.error) << c.path;
        EXPECT_FALSE(file.write(kOld.data(), kOld.size()));
        EXPECT_FALSE(file.commit());
        int error = 0;
        EXPECT_FALSE(saveFileAtomically(c.path, kOld.data(), kOld.size(), &error));
        EXPECT_EQ(error, c.error);
    }
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.pdf")));
    EXPECT_EQ(namesIn(dir.path().string()),
              (std::vector<std::string>{"link.pdf", "ordner.pdf", "pipe.pdf"}))
        << "no temporary file was left";
}

TEST(AtomicFile, FinishedFilesWaitForCommitAndVanishWhenDiscarded) {
    TempDir dir;
    ASSERT_TRUE(writeAll(dir.file("a.png"), kOld));
    AtomicFile a, b;
    ASSERT_TRUE(a.open(dir.file("a.png")));
    ASSERT_TRUE(b.open(dir.file("b.png")));
    ASSERT_TRUE(a.write("AAAA", 4));
    ASSERT_TRUE(b.write("B", 1));
    ASSERT_TRUE(a.seek(1));  // a writer going back to fill in a header
    ASSERT_TRUE(a.write("x", 1));
    EXPECT_EQ(a.size(), 4u);
    ASSERT_TRUE(a.finish());
    ASSERT_TRUE(b.finish());
    EXPECT_EQ(readAll(dir.file("a.png")), kOld) << "nothing is replaced before commit()";
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.png")));
    EXPECT_FALSE(a.write("late", 4));

    ASSERT_TRUE(a.commit());
    b.discard();
    EXPECT_EQ(readAll(dir.file("a.png")), (std::vector<uint8_t>{'A', 'x', 'A', 'A'}));
    EXPECT_EQ(namesIn(dir.path().string()), std::vector<std::string>{"a.png"});
}

TEST(AtomicFile, AProgramKilledWhileWritingLeavesOnlyTheOldFile) {
    TempDir dir;
    const std::string target = dir.file("album.pxr");
    ASSERT_TRUE(writeAll(target, kOld));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile file;
        const std::vector<uint8_t> big(1 << 20, 'n');
        if (file.open(target) && file.write(big.data(), big.size())) ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child could not write its file";
    EXPECT_EQ(readAll(target), kOld);
    // Where the file system has unnamed temporary files nothing at all is left; elsewhere the
    // leftover carries our pattern, for the sweep below.
    for (const std::string& name : namesIn(dir.path().string())) {
        if (name == "album.pxr") continue;
        EXPECT_TRUE(isTemporaryName(name)) << name;
    }
}

TEST(AtomicFile, TheFirstWriteIntoAFolderRemovesOnlyOurStaleTemporaries) {
    TempDir dir;
    struct Entry {
        const char* name;
        int days;
        bool removed;
    };
    const Entry entries[] = {
        {".album.pxr.pixotmp-123-4", 2, true},       // ours, from a killed run
        {".bnsbrwse.cbf.pixotmp-77-0", 9, true},     // the thumbnail cache's
        {".album.pxr.pixotmp-123-5", 0, false},      // ours, but perhaps still being written
        {".album.pxr.tmp-123-4", 2, false},          // someone else's pattern
        {"album.pxr.pixotmp-123-4", 2, false},       // not hidden: not ours
        {".album.pxr.pixotmp-12x-4", 2, false},      // no process number
        {".album.pxr.pixotmp-123-", 2, false},       // no counter
        {".album.pxr.pixotmp-123-4.bak", 2, false},  // something after the counter
        {"urlaub.jpg", 30, false},
    };
    for (const Entry& e : entries) {
        ASSERT_TRUE(writeAll(dir.file(e.name), kOld));
        makeOld(dir.file(e.name), e.days);
    }
    std::filesystem::create_directory(dir.file(".x.pixotmp-1-1"));  // a folder is never removed
    makeOld(dir.file(".x.pixotmp-1-1"), 5);
    std::filesystem::create_symlink("urlaub.jpg", dir.file(".y.pixotmp-1-1"));
    makeOld(dir.file(".y.pixotmp-1-1"), 5);

    int error = -1;
    ASSERT_TRUE(saveFileAtomically(dir.file("neu.pxr"), kOld.data(), kOld.size(), &error));
    for (const Entry& e : entries)
        EXPECT_EQ(std::filesystem::exists(dir.file(e.name)), !e.removed) << e.name;
    EXPECT_TRUE(std::filesystem::is_directory(dir.file(".x.pixotmp-1-1")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file(".y.pixotmp-1-1")));
    EXPECT_EQ(error, -1) << "a success leaves the error alone";
}

TEST(AtomicFile, AFullOrReadOnlyDiskKeepsTheOldFileAndSaysWhy) {
    SmallDisk disk(64);
    if (!disk.mounted()) GTEST_SKIP() << disk.skipReason();
    const std::string target = disk.file("album.pxr");
    ASSERT_TRUE(writeAll(target, kOld));
    const std::vector<uint8_t> big(200 * 1024, 'n');
    int error = 0;
    EXPECT_FALSE(saveFileAtomically(target, big.data(), big.size(), &error));
    EXPECT_EQ(error, ENOSPC);
    EXPECT_EQ(ioErrorText(error), "Der Datenträger ist voll.");
    EXPECT_EQ(readAll(target), kOld);
    EXPECT_EQ(namesIn(disk.path()), std::vector<std::string>{"album.pxr"});

    ASSERT_TRUE(disk.makeReadOnly());
    EXPECT_FALSE(saveFileAtomically(target, kOld.data(), kOld.size(), &error));
    EXPECT_EQ(error, EROFS);
    EXPECT_EQ(ioErrorText(error), "Das Ziel ist schreibgeschützt.");
    EXPECT_EQ(readAll(target), kOld);
}

TEST(IoErrorText, EveryCodeGetsAGermanSentence) {
    const std::pair<int, const char*> known[] = {
        {EISDIR, "Ist ein Ordner."},
        {EDQUOT, "Der Datenträger ist voll."},
        {kErrorNotRegularFile, "Das Ziel ist keine gewöhnliche Datei."},
        {kErrorSameAsInput, "Das Ziel ist die Datei, aus der gelesen wird."},
        {4711, "Systemfehler Nummer 4711."},
    };
    for (const auto& [code, text] : known) EXPECT_EQ(ioErrorText(code), text);
}
