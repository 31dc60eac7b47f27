#pragma once
// Reads numbers and bytes from a block of untrusted bytes. Every read is checked against the end:
// after the first read that does not fit, the reader has failed, and it and every later read
// give 0 (or nothing), so a parser may read a group of fields and check ok() once.

#include <cstddef>
#include <cstdint>

#include "core/io/ByteOrder.h"

namespace pr {

class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size, ByteOrder order = ByteOrder::Little)
        : data_(data), size_(data ? size : 0), order_(order) {}

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    std::size_t size() const { return size_; }
    std::size_t position() const { return pos_; }
    // Bytes left to read; none once the reader has failed.
    std::size_t remaining() const { return ok_ ? size_ - pos_ : 0; }
    void setOrder(ByteOrder order) { order_ = order; }

    // Moves to `offset` from the start (the end itself is allowed); fails beyond it.
    bool seek(std::size_t offset);
    bool skip(std::size_t n) { return take(n) != nullptr; }
    // The next `n` bytes in place, or null (and failed) when fewer remain. Inline, like u8():
    // run-length decoders call them once per byte.
    const uint8_t* take(std::size_t n) {
        if (!ok_ || size_ - pos_ < n) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    bool bytes(void* out, std::size_t n);

    uint8_t u8() {
        const uint8_t* p = take(1);
        return p ? p[0] : 0;
    }
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint64_t u64();
    double f64();

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    ByteOrder order_;
    bool ok_ = true;
};

}  // namespace pr
