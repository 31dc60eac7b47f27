#pragma once
// A file opened for reading untrusted bytes. Every reader of the program's input files (pictures,
// album files, folders.dat, thumbnail cache files) opens its file here, so what counts as a
// readable file is decided in one place: a regular file that can be opened for reading. A folder,
// a device, a FIFO or any other special file is refused before a byte of it is read, and without
// waiting on it (a FIFO without a writer would otherwise hold the open forever).
//
// Readers that check a header before they commit to the rest take the header first
// (readUpTo with the header's size), check it, and then read on (readUpTo with size()).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pr {

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens `path` for reading; false when it cannot be opened or is not a regular file.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    // The size the file had when it was opened; reading never goes beyond it.
    uint64_t size() const { return size_; }

    // Up to `n` bytes from `offset`, fewer only where the file ends; -1 on a read error.
    int64_t readAt(uint64_t offset, void* out, std::size_t n) const;
    // Exactly `n` bytes from `offset`, or false.
    bool readExactlyAt(uint64_t offset, void* out, std::size_t n) const;
    // Appends the bytes from offset bytes.size() up to `end` (at most size()). A file that
    // shrank meanwhile gives what is there. False on a read error; `bytes` then holds what was
    // read before it.
    bool readUpTo(std::vector<uint8_t>& bytes, uint64_t end) const;

    void close();

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace pr
