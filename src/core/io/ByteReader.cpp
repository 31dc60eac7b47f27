#include "core/io/ByteReader.h"

#include <cstring>

namespace pr {

namespace {

uint64_t unsignedOf(const uint8_t* p, std::size_t n, ByteOrder order) {
    uint64_t v = 0;
    if (order == ByteOrder::Little) {
        for (std::size_t i = n; i > 0; --i) v = (v << 8) | p[i - 1];
    } else {
        for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    }
    return v;
}

}  // namespace

bool ByteReader::seek(std::size_t offset) {
    if (!ok_ || offset > size()) {
        fail();
        return false;
    }
    p_ = begin_ + offset;
    return true;
}

bool ByteReader::bytes(void* out, std::size_t n) {
    const uint8_t* p = take(n);
    if (p && n > 0) std::memcpy(out, p, n);
    return p != nullptr;
}

uint16_t ByteReader::u16() {
    const uint8_t* p = take(2);
    return p ? static_cast<uint16_t>(unsignedOf(p, 2, order_)) : 0;
}

uint32_t ByteReader::u32() {
    const uint8_t* p = take(4);
    return p ? static_cast<uint32_t>(unsignedOf(p, 4, order_)) : 0;
}

uint64_t ByteReader::u64() {
    const uint8_t* p = take(8);
    return p ? unsignedOf(p, 8, order_) : 0;
}

double ByteReader::f64() {
    const uint64_t bits = u64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace pr
