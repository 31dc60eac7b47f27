#include "core/imaging/codecs/IsoBoxes.h"

namespace pr {

bool nextIsoBox(ByteReader& in, IsoBox& box) {
    if (in.remaining() == 0) return false;
    const size_t start = in.position();
    uint64_t size = in.u32();
    const uint8_t* type = in.take(4);
    if (!type) return false;
    if (size == 1) size = in.u64();
    const size_t header = in.position() - start;
    if (size == 0) size = header + in.remaining();
    if (!in.ok() || size < header || size - header > in.remaining()) {
        in.fail();
        return false;
    }
    std::memcpy(box.type, type, 4);
    box.size = static_cast<size_t>(size - header);
    box.payload = in.take(box.size);
    return box.payload != nullptr || box.size == 0;
}

bool findIsoBox(const uint8_t* data, size_t size, const char* type, IsoBox& box) {
    ByteReader in(data, size, ByteOrder::Big);
    while (nextIsoBox(in, box))
        if (box.is(type)) return true;
    return false;
}

}  // namespace pr
