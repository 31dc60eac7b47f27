#pragma once
// Files that are not what a reader expects: FIFOs in the place of an input file, and sparse files
// far larger than the bytes a reader should touch. Shared by the reader tests of every folder.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace testsupport {

inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs `read` on another thread. A reader that waits on the FIFO at `fifo` (for a writer, or for
// bytes, that never come) is released after a generous grace by writing a few bytes into the FIFO,
// so a fault fails the test instead of hanging it. True when `read` finished by itself.
inline bool finishesWithoutAWriter(const std::string& fifo, const std::function<void()>& read) {
    auto done = std::async(std::launch::async, read);
    if (done.wait_for(std::chrono::seconds(30)) == std::future_status::ready) return true;
    for (;;) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            static const char kBytes[4] = {0, 0, 0, 0};
            if (::write(fd, kBytes, sizeof kBytes) < 0) {
                // Nothing waits to read yet; the next round tries again.
            }
            ::close(fd);
        }
        if (done.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready)
            return false;
    }
}

// A file of `size` bytes that holds `head` at its start and a hole after it.
inline bool makeSparseFile(const std::string& path, const std::vector<uint8_t>& head,
                           uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    return ::close(fd) == 0 && ok;
}

// Bytes this process has read through read(2) and its kin so far (the kernel's count).
inline uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// How many bytes `work` read.
inline uint64_t bytesReadBy(const std::function<void()>& work) {
    const uint64_t before = bytesReadSoFar();
    work();
    return bytesReadSoFar() - before;
}

}  // namespace testsupport
