#include "core/imaging/PictureFacts.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "core/imaging/ExifDate.h"
#include "core/imaging/codecs/CodecRegistry.h"
#include "core/io/InputFile.h"

namespace pr {

namespace {
// As when opening a picture: every format's header and JPEG's EXIF segment lie in the first
// bytes as writers lay them out.
constexpr uint64_t kHeadBytes = uint64_t{256} << 10;
// A header further in (a TIFF that keeps its directory at the end) is looked for in a file up to
// this size; beyond it the size stays unknown rather than reading a huge file for two numbers.
constexpr uint64_t kMaxWholeRead = uint64_t{64} << 20;
}  // namespace

PictureFacts pictureFactsOf(const uint8_t* data, std::size_t size) {
    PictureFacts facts;
    const Codec* codec = findCodec(data, size);
    if (!codec) return facts;
    PictureHeader header;
    if (codec->header(data, size, header).ok() && header.width > 0 && header.height > 0 &&
        header.width <= std::numeric_limits<int>::max() &&
        header.height <= std::numeric_limits<int>::max()) {
        facts.sizeKnown = true;
        facts.width = static_cast<int>(header.width);
        facts.height = static_cast<int>(header.height);
    }
    facts.dateTaken = exifDateOfFile(data, size);
    return facts;
}

PictureFacts readPictureFacts(const std::string& path) {
    InputFile file;
    if (!file.open(path)) return {};
    std::vector<uint8_t> bytes;
    if (!file.readUpTo(bytes, kHeadBytes)) return {};
    PictureFacts facts = pictureFactsOf(bytes.data(), bytes.size());
    // Only a file some reader recognises may hold its header further in.
    if (facts.sizeKnown || bytes.size() >= file.size() || file.size() > kMaxWholeRead ||
        !findCodec(bytes.data(), bytes.size()))
        return facts;
    if (!file.readUpTo(bytes, file.size())) return facts;
    return pictureFactsOf(bytes.data(), bytes.size());
}

}  // namespace pr
