#pragma once
// Replacing a file so that it is either the old file or the complete new one, never half of each:
// the bytes go to a temporary file in the same folder (so the rename cannot cross file systems),
// are flushed to the disk, and only then renamed over the target; the folder is flushed after the
// rename. Any failure on the way removes the temporary file and leaves the old file as it was.
//
// What callers rely on:
//  - a target that is a symbolic link is replaced where the link points, so the link stays (a
//    dangling link is replaced by the file);
//  - an existing target keeps its permission bits; a new file gets 0666 less the umask, as any
//    new file does (mkstemp's 0600 would hide a cache file from the others sharing a folder);
//  - the temporary name is shortened from long target names, so any name the file system takes
//    (up to 255 bytes) can be written.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pr {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // discards an uncommitted temporary file
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside the target. False when the folder cannot be written.
    bool open(const std::string& targetPath);
    // Appends bytes. After a failed write every later call fails too, so a caller may write on
    // and check only at commit().
    bool write(const void* data, std::size_t size);
    // Flushes, closes and renames over the target. False (old file intact) on any failure.
    bool commit();
    void discard();

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

// The whole content in one go; true only when every byte reached the disk under the target name.
bool saveFileAtomically(const std::string& targetPath, const void* data, std::size_t size);

}  // namespace pr
