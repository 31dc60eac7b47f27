// libFuzzer target: the thumbnail cache reader (index and thumbnails) on arbitrary bytes.
// Seeds: fuzz/corpus/cachefile/.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/browse/ThumbCacheReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pr::ThumbCacheReader reader = pr::ThumbCacheReader::fromBytes(data, size);
    std::size_t loaded = 0;
    for (const pr::CacheIndexEntry& entry : reader.index()) {
        reader.find(entry.name, entry.info.check);
        pr::ImageBuffer thumbnail = reader.loadThumbnail(entry);
        // Touch both ends of the pixels so a wrong size shows up under the address sanitizer.
        if (thumbnail.valid()) {
            volatile uint8_t sink = thumbnail.bits[0];
            sink = thumbnail.bits[thumbnail.imageBytes() - 1];
            (void)sink;
        }
        if (++loaded == 64) break;
    }
    return 0;
}
