#pragma once
// Replacing a file so that it is either the old file or the complete new one, never half of each:
// the bytes go to a temporary file in the same folder (so the rename cannot cross file systems),
// are flushed to the disk, and only then renamed over the target; the folder is flushed after the
// rename. Any failure on the way removes the temporary file and leaves the old file as it was.
//
// What callers rely on:
//  - a target that is a symbolic link is replaced where the link points, so the link stays (a
//    dangling link is replaced by the file);
//  - a target that exists but is no regular file (a folder, a device such as /dev/full, a FIFO)
//    is refused before anything is written: renaming over it would replace a device node;
//  - an existing target keeps its permission bits; a new file gets 0666 less the umask, as any
//    new file does (mkstemp's 0600 would hide a cache file from the others sharing a folder);
//  - the temporary name is shortened from long target names, so any name the file system takes
//    (up to 255 bytes) can be written;
//  - every failure keeps its errno (error()), for the German reason of ioErrorText().
//
// Temporary files: where the file system can (O_TMPFILE), the new bytes have no name until they
// are complete, so a killed program leaves nothing behind. Elsewhere the temporary file has one
// name pattern, ".<target name>.pixotmp-<process>-<counter>", and the first write into a folder
// removes files of that pattern there that are older than a day and belong to this user;
// nothing else is ever removed.

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

    // Creates the temporary file beside the target. False when the target is no regular file or
    // the folder cannot be written.
    bool open(const std::string& targetPath);
    // Writes at the current position (the end, unless seek() went back). After a failed write
    // every later call fails too, so a caller may write on and check only at commit().
    bool write(const void* data, std::size_t size);
    // For writers that go back to fill in a header; beyond the end leaves a gap of zeros.
    bool seek(uint64_t offset);
    uint64_t size() const;
    // Flushes and closes the complete temporary file without touching the target yet, so that
    // several files can be put in place together once all are complete. Called by commit().
    bool finish();
    // Flushes, closes and renames over the target. False (old file intact) on any failure.
    bool commit();
    void discard();

    // The errno value (or a code of IoErrorText.h) of the first failure; 0 when there was none.
    int error() const { return error_; }
    // The file that commit() replaces: the target, with a symbolic link followed.
    const std::string& target() const { return target_; }

private:
    bool fail(int code);
    bool nameTemporary();

    std::string target_;
    std::string temp_;  // empty while an unnamed (O_TMPFILE) file has no name yet
    int fd_ = -1;
    bool finished_ = false;
    int error_ = 0;
};

// The whole content in one go; true only when every byte reached the disk under the target name.
// `error` (may be null) receives AtomicFile::error() on failure.
bool saveFileAtomically(const std::string& targetPath, const void* data, std::size_t size,
                        int* error = nullptr);

// Whether `name` (a file name without folder) is one of AtomicFile's temporary files.
bool isTemporaryName(const std::string& name);

// Removes our temporary files in `folder` that were last written more than `maxAgeSeconds` ago
// and belong to this user; returns how many went. AtomicFile::open() does this once per folder
// and run, with a day as the age.
int removeStaleTemporaries(const std::string& folder, long maxAgeSeconds);

}  // namespace pr
