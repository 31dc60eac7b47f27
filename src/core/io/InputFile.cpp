#include "core/io/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace pr {

InputFile::~InputFile() {
    close();
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool InputFile::open(const std::string& path) {
    close();
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come; with it, the open
    // returns at once and fstat tells what the path is before a byte is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    return true;
}

void InputFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

int64_t InputFile::readAt(uint64_t offset, void* out, std::size_t n) const {
    if (fd_ < 0) return -1;
    if (offset >= size_) return 0;
    if (n > size_ - offset) n = static_cast<std::size_t>(size_ - offset);
    auto* p = static_cast<uint8_t*>(out);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, p + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;  // the file shrank since it was opened
        done += static_cast<std::size_t>(got);
    }
    return static_cast<int64_t>(done);
}

bool InputFile::readExactlyAt(uint64_t offset, void* out, std::size_t n) const {
    return readAt(offset, out, n) == static_cast<int64_t>(n);
}

bool InputFile::readUpTo(std::vector<uint8_t>& bytes, uint64_t end) const {
    if (fd_ < 0) return false;
    if (end > size_) end = size_;
    const std::size_t start = bytes.size();
    if (end <= start) return true;
    bytes.resize(static_cast<std::size_t>(end));
    const int64_t got = readAt(start, bytes.data() + start, bytes.size() - start);
    bytes.resize(start + static_cast<std::size_t>(got < 0 ? 0 : got));
    return got >= 0;
}

}  // namespace pr
