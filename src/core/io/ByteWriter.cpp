#include "core/io/ByteWriter.h"

#include <cstring>

namespace pr {

ByteWriter& ByteWriter::bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    if (size > 0) out_.insert(out_.end(), p, p + size);
    return *this;
}

ByteWriter& ByteWriter::zeros(std::size_t count) {
    out_.insert(out_.end(), count, 0);
    return *this;
}

ByteWriter& ByteWriter::u8(uint8_t v) {
    out_.push_back(v);
    return *this;
}

ByteWriter& ByteWriter::f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return number(bits, 8);
}

ByteWriter& ByteWriter::number(uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t shift = order_ == ByteOrder::Little ? i : n - 1 - i;
        out_.push_back(static_cast<uint8_t>(v >> (8 * shift)));
    }
    return *this;
}

}  // namespace pr
