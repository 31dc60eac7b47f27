#include "core/io/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <mutex>
#include <set>

#include "core/io/IoErrorText.h"
#include "core/io/PathText.h"
#include "core/io/StoredText.h"

namespace pr {

namespace {

// Room for the dot, the marker, the process number and a counter within a 255-byte name.
constexpr std::size_t kMaxTempStem = 200;
constexpr char kMarker[] = ".pixotmp-";
constexpr long kStaleAfterSeconds = 24L * 60 * 60;

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

std::string temporaryStem(const std::string& target) {
    return folderOf(target) + "." + clipUtf8(splitLocalPath(target).name, kMaxTempStem) + kMarker +
           std::to_string(::getpid()) + "-";
}

unsigned nextCounter() {
    static std::atomic<unsigned> counter{0};
    return counter.fetch_add(1);
}

// A fresh named file beside the target. O_EXCL with a new name each try, so an existing file is
// never truncated.
int createNamedTemporary(const std::string& target, std::string& tempPath) {
    const std::string stem = temporaryStem(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(nextCounter());
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// A file without a name in the target's folder; -1 where the file system has no such files (or
// /proc, through which it gets its name, is missing).
int createUnnamedTemporary(const std::string& target) {
#ifdef O_TMPFILE
    if (::access("/proc/self/fd", X_OK) != 0) return -1;
    return ::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)target;
    return -1;
#endif
}

// Makes the rename itself durable. The new content is already safe, so a failure here does not
// make the save fail.
void syncFolder(const std::string& target) {
    const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Once per folder and run: a run that was killed before its rename left its temporary file.
void sweepOnce(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!swept.insert(folder).second) return;
    }
    removeStaleTemporaries(folder, kStaleAfterSeconds);
}

bool allDigits(const std::string& text, std::size_t from, std::size_t to) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::fail(int code) {
    if (error_ == 0) error_ = code != 0 ? code : EIO;
    return false;
}

bool AtomicFile::open(const std::string& targetPath) {
    discard();
    error_ = 0;
    finished_ = false;
    if (targetPath.empty()) return fail(ENOENT);
    target_ = linkTarget(targetPath);
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return fail(S_ISDIR(old.st_mode) ? EISDIR : kErrorNotRegularFile);
    sweepOnce(folderOf(target_));

    temp_.clear();
    fd_ = createUnnamedTemporary(target_);
    if (fd_ < 0) fd_ = createNamedTemporary(target_, temp_);
    if (fd_ < 0) {
        temp_.clear();
        return fail(errno);
    }
    // Best effort: some file systems (FAT, network shares) refuse fchmod but take the file, which
    // then simply keeps the permissions of a new file.
    if (exists) (void)::fchmod(fd_, old.st_mode & 07777);
    return true;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (finished_) return false;  // complete already; a late write changes nothing
    if (fd_ < 0) return fail(EBADF);
    if (error_ != 0) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        if (n == 0) return fail(ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::seek(uint64_t offset) {
    if (finished_) return false;
    if (fd_ < 0) return fail(EBADF);
    if (error_ != 0) return false;
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return fail(EFBIG);
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return fail(errno);
    return true;
}

uint64_t AtomicFile::size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool AtomicFile::nameTemporary() {
    const std::string stem = temporaryStem(target_);
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = stem + std::to_string(nextCounter());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) return fail(errno);
    }
    return fail(EEXIST);
}

bool AtomicFile::finish() {
    if (finished_) return error_ == 0;
    if (fd_ < 0) return fail(EBADF);
    bool ok = error_ == 0;
    if (ok && ::fsync(fd_) != 0) ok = fail(errno);
    if (ok && temp_.empty()) ok = nameTemporary();
    if (::close(fd_) != 0 && ok) ok = fail(errno);
    fd_ = -1;
    finished_ = true;
    if (!ok) discard();
    return ok;
}

bool AtomicFile::commit() {
    if (!finish()) return false;
    if (temp_.empty()) return fail(EBADF);  // discarded or never opened
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail(errno);
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

bool saveFileAtomically(const std::string& targetPath, const void* data, std::size_t size,
                        int* error) {
    AtomicFile file;
    if (file.open(targetPath) && file.write(data, size) && file.commit()) return true;
    if (error) *error = file.error();
    return false;
}

bool isTemporaryName(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return false;
    const std::size_t marker = name.rfind(kMarker);
    if (marker == std::string::npos || marker == 0) return false;
    const std::size_t numbers = marker + sizeof kMarker - 1;
    const std::size_t dash = name.find('-', numbers);
    return dash != std::string::npos && allDigits(name, numbers, dash) &&
           allDigits(name, dash + 1, name.size());
}

int removeStaleTemporaries(const std::string& folder, long maxAgeSeconds) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const time_t now = std::time(nullptr);
    const uid_t me = ::geteuid();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != me || now - st.st_mtime <= maxAgeSeconds) continue;
        if (::unlinkat(::dirfd(dir), name.c_str(), 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace pr
