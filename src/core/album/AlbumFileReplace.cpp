#include "core/album/AlbumFileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "core/album/AlbumFileText.h"

namespace pr {

namespace {

// Follows a symbolic link so the link itself is not replaced by a plain file.
std::string realTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;  // dangling: write the link's path
    return resolved;
}

bool writeAll(int fd, const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Opens a fresh file beside the target. O_EXCL with a new name each try, so an existing file is
// never truncated; 0666 lets the umask decide the permissions as for any new file.
int createTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const AlbumPathParts parts = splitAlbumPath(target);
    const std::string folder = parts.folder.empty() ? std::string("./") : parts.folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + parts.name + ".tmp-" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter.fetch_add(1));
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void syncFolder(const std::string& target) {
    const std::string folder = splitAlbumPath(target).folder;
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename is done either way
    ::close(fd);
}

}  // namespace

bool replaceFileAtomically(const std::string& targetPath, const std::vector<uint8_t>& bytes) {
    const std::string target = realTarget(targetPath);
    std::string temp;
    const int fd = createTemporary(target, temp);
    if (fd < 0) return false;

    bool ok = writeAll(fd, bytes.data(), bytes.size());
    struct stat old;
    // Best effort: some file systems (FAT, network shares) refuse fchmod but take the file, which
    // then simply keeps the permissions of a new file.
    if (ok && ::stat(target.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) {
        errno = 0;
    }
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(target);
    return true;
}

}  // namespace pr
