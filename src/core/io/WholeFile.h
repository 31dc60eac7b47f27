#pragma once
// Whole-file reading for the picture readers.

#include <cstdint>
#include <string>
#include <vector>

namespace pr {

// Reads the file into `out`. Returns false when it cannot be opened or read, or is larger than
// maxBytes (then nothing is allocated).
bool readFileBytes(const std::string& path, std::vector<uint8_t>& out,
                   uint64_t maxBytes = uint64_t{2} << 30);

}  // namespace pr
