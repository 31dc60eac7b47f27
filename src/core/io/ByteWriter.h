#pragma once
// Builds the bytes of a stored record or file: numbers in the given byte order, appended in turn.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/io/ByteOrder.h"

namespace pr {

class ByteWriter {
public:
    explicit ByteWriter(ByteOrder order = ByteOrder::Little) : order_(order) {}

    ByteWriter& bytes(const void* data, std::size_t size);
    ByteWriter& zeros(std::size_t count);
    ByteWriter& u8(uint8_t v);
    ByteWriter& u16(uint16_t v) { return number(v, 2); }
    ByteWriter& u32(uint32_t v) { return number(v, 4); }
    ByteWriter& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    ByteWriter& f64(double v);

    std::size_t size() const { return out_.size(); }
    const std::vector<uint8_t>& data() const { return out_; }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    ByteWriter& number(uint64_t v, std::size_t n);

    std::vector<uint8_t> out_;
    ByteOrder order_;
};

}  // namespace pr
