#pragma once
// Reading a whole input file into memory, for the readers that parse from bytes in memory
// (pictures, album files). The size is checked before anything is allocated.

#include <cstdint>
#include <string>
#include <vector>

namespace pr {

enum class FileReadStatus {
    Ok,
    CannotOpen,  // missing, unreadable, or not a regular file (InputFile.h)
    TooLarge,    // larger than the caller's cap: nothing was allocated
    ReadFailed,  // the disk failed while reading
};

// The file's bytes in `out` (empty unless Ok). A file that shrinks while it is read gives what
// was there.
FileReadStatus readWholeFile(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes);

}  // namespace pr
