#pragma once
// A tmpfs of a few pages that the test mounts itself, for the full-disk and read-only cases.
// Mounting needs root (or CAP_SYS_ADMIN); where it is refused, mounted() is false and
// skipReason() says why, so the test can skip with that message.

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "TestSupport.h"

namespace testsupport {

class SmallDisk {
public:
    explicit SmallDisk(std::size_t kib) {
        const std::string options = "size=" + std::to_string(kib) + "k,mode=0777";
        if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) ==
            0) {
            mounted_ = true;
        } else {
            reason_ = std::string("cannot mount a tmpfs here (") + std::strerror(errno) +
                      "); the full-disk and read-only cases need root";
        }
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& skipReason() const { return reason_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string path() const { return dir_.path().string(); }

    // Takes all the space that is left, so the next write fails with "no space".
    void fill() {
        std::ofstream out(file(".filler"), std::ios::binary);
        const std::string block(4096, 'f');
        while (out.write(block.data(), block.size())) {
        }
    }
    bool makeReadOnly() {
        return ::mount(nullptr, dir_.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    TempDir dir_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace testsupport
