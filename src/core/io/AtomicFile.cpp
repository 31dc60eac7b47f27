#include "core/io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/io/PathText.h"

namespace pr {

namespace {

// Room for the dot, ".tmp-", the process number and a counter within a 255-byte name.
constexpr std::size_t kMaxTempStem = 200;

// Follows a symbolic link so the link itself is not replaced by a plain file.
std::string linkTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;  // dangling
    return resolved;
}

std::string folderOf(const std::string& path) {
    const std::string folder = splitLocalPath(path).folder;
    return folder.empty() ? std::string("./") : folder;
}

// A fresh file beside the target. O_EXCL with a new name each try, so an existing file is never
// truncated.
int createTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const PathParts parts = splitLocalPath(target);
    const std::string stem = folderOf(target) + "." + parts.name.substr(0, kMaxTempStem) + ".tmp-" +
                             std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(counter.fetch_add(1));
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Makes the rename itself durable. The new content is already safe, so a failure here does not
// make the save fail.
void syncFolder(const std::string& target) {
    const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& targetPath) {
    discard();
    failed_ = false;
    if (targetPath.empty()) return false;
    target_ = linkTarget(targetPath);
    const int fd = createTemporary(target_, temp_);
    if (fd < 0) {
        temp_.clear();
        return false;
    }
    fd_ = fd;
    // Best effort: some file systems (FAT, network shares) refuse fchmod but take the file, which
    // then simply keeps the permissions of a new file.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd_, old.st_mode & 07777);
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    if (fd_ < 0) return false;
    bool ok = !failed_ && ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok) ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        discard();
        return false;
    }
    temp_.clear();
    syncFolder(target_);
    return true;
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool saveFileAtomically(const std::string& targetPath, const void* data, std::size_t size) {
    AtomicFile file;
    return file.open(targetPath) && file.write(data, size) && file.commit();
}

}  // namespace pr
