#include "core/imaging/codecs/ExifPayload.h"

#include <cstring>
#include <vector>

#include "core/imaging/codecs/ExifOrientation.h"

namespace pr {

int exifPayloadOrientation(const uint8_t* data, size_t size) {
    static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (!data || size < 8) return 1;
    if (std::memcmp(data, kExif, 6) == 0) return exifOrientation(data, size);
    // The orientation sits in the first directory, near the start; a long maker note behind it
    // need not be copied.
    const size_t kept = size < 65536 ? size : 65536;
    std::vector<uint8_t> block(kExif, kExif + 6);
    block.insert(block.end(), data, data + kept);
    return exifOrientation(block.data(), block.size());
}

}  // namespace pr
