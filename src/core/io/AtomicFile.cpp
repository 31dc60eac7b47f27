#include "core/io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <random>

#include "core/io/PathText.h"

namespace pr {

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& targetPath) {
    discard();
    failed_ = false;
    if (targetPath.empty()) return false;
    // Only '/' separates here: on Linux a backslash is an ordinary character of a folder name.
    const std::string::size_type cut = targetPath.find_last_of(kPathSeparator);
    const std::string folder =
        cut == std::string::npos ? std::string() : targetPath.substr(0, cut + 1);
    const std::string name = targetPath.substr(folder.size());
    // A name of our own rather than mkstemp's: mkstemp creates with mode 0600, and a cache file in
    // a shared picture folder should get the permissions the user's umask gives any new file.
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string temp = folder + "." + name.substr(0, 200) + ".tmp" +
                                 std::to_string(::getpid()) + "-" + std::to_string(random());
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = temp;
            target_ = targetPath;
            // Keep the permissions of the file being replaced (a user may have made it
            // group-writable); a failure here is harmless.
            struct stat old;
            if (::stat(targetPath.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
                (void)::fchmod(fd_, old.st_mode & 07777);
            }
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool AtomicFile::write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
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
        ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    // Make the rename itself durable; the new content is already safe, so a failure here does not
    // make the save fail.
    const std::string::size_type cut = target_.find_last_of(kPathSeparator);
    const std::string folder =
        cut == std::string::npos ? std::string() : target_.substr(0, cut + 1);
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
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
