#include "core/imaging/codecs/IsoBrands.h"

#include <cstring>

namespace pr {
namespace {

bool isOneOf(const uint8_t* brand, const char* const* list) {
    for (; *list; ++list)
        if (std::memcmp(brand, *list, 4) == 0) return true;
    return false;
}

}  // namespace

IsoPictureKind isoPictureKind(const uint8_t* data, size_t size) {
    static const char* const kHevc[] = {"heic", "heix", "heim", "heis", "hevc",
                                        "hevx", "hevm", "hevs", nullptr};
    static const char* const kAvif[] = {"avif", "avis", nullptr};
    static const char* const kImageFile[] = {"mif1", "msf1", "mif2", nullptr};
    if (!data || size < 16 || std::memcmp(data + 4, "ftyp", 4) != 0) return IsoPictureKind::None;
    const uint32_t boxSize =
        (uint32_t{data[0]} << 24) | (uint32_t{data[1]} << 16) | (uint32_t{data[2]} << 8) | data[3];
    // Major brand, minor version, then whole compatible brands.
    if (boxSize < 16 || (boxSize - 16) % 4 != 0) return IsoPictureKind::None;
    const size_t end = boxSize < size ? boxSize : size;
    bool hevc = false, avif = false, imageFile = false;
    auto look = [&](const uint8_t* brand) {
        hevc = hevc || isOneOf(brand, kHevc);
        avif = avif || isOneOf(brand, kAvif);
        imageFile = imageFile || isOneOf(brand, kImageFile);
    };
    look(data + 8);
    for (size_t at = 16; at + 4 <= end; at += 4) look(data + at);
    if (hevc) return IsoPictureKind::Heif;
    if (avif) return IsoPictureKind::Avif;
    return imageFile ? IsoPictureKind::Heif : IsoPictureKind::None;
}

}  // namespace pr
