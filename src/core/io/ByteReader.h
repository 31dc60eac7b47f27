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
        : begin_(data), end_(data ? data + size : data), p_(data), order_(order) {}

    bool ok() const { return ok_; }
    void fail() {
        ok_ = false;
        p_ = end_;
    }
    std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }
    // Where the next read starts; the end once the reader has failed.
    std::size_t position() const { return static_cast<std::size_t>(p_ - begin_); }
    // Bytes left to read; none once the reader has failed.
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }
    void setOrder(ByteOrder order) { order_ = order; }

    // Moves to `offset` from the start (the end itself is allowed); fails beyond it.
    bool seek(std::size_t offset);
    bool skip(std::size_t n) { return take(n) != nullptr; }
    // The next `n` bytes in place, or null (and failed) when fewer remain. Inline, like u8() and
    // peek(): run-length decoders call them once per run or byte.
    const uint8_t* take(std::size_t n) {
        if (remaining() < n) {
            fail();
            return nullptr;
        }
        const uint8_t* p = p_;
        p_ += n;
        return p;
    }
    bool bytes(void* out, std::size_t n);
    // The next `n` bytes without moving past them, or null when fewer remain (the reader does not
    // fail): for decoders that look ahead.
    const uint8_t* peek(std::size_t n) const { return remaining() >= n ? p_ : nullptr; }

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
    const uint8_t* begin_;
    const uint8_t* end_;
    const uint8_t* p_;  // the end once the reader has failed, so nothing remains
    ByteOrder order_;
    bool ok_ = true;
};

}  // namespace pr
