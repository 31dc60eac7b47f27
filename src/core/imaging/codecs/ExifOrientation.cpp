#include "core/imaging/codecs/ExifOrientation.h"

#include <cstring>

#include "core/io/ByteReader.h"

namespace pr {

int exifOrientation(const uint8_t* data, size_t size) {
    static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (!data || size < 6 + 8 || std::memcmp(data, kExif, 6) != 0) return 1;
    // A TIFF structure: byte order, 42, the offset of the first directory.
    ByteReader tiff(data + 6, size - 6);
    const uint8_t* order = tiff.take(2);
    if (order[0] == 'M' && order[1] == 'M')
        tiff.setOrder(ByteOrder::Big);
    else if (order[0] != 'I' || order[1] != 'I')
        return 1;
    if (tiff.u16() != 42) return 1;
    const uint32_t ifd = tiff.u32();
    if (ifd < 8 || !tiff.seek(ifd)) return 1;
    const uint32_t entries = tiff.u16();
    for (uint32_t i = 0; i < entries && tiff.remaining() >= 12; ++i) {
        const uint16_t tag = tiff.u16(), type = tiff.u16();
        const uint32_t count = tiff.u32();
        const uint16_t value = tiff.u16();  // a SHORT sits in the first two bytes of the field
        tiff.skip(2);
        if (tag != 0x0112) continue;
        if (type != 3 || count < 1) return 1;
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

}  // namespace pr
