#pragma once
// The boxes of an ISO base media file (HEIF, AVIF): a 32-bit size (1: a 64-bit size follows the
// type; 0: to the end of the enclosing box), a four-letter type, the payload. Every size is
// checked against the bytes of the enclosing box.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/io/ByteReader.h"

namespace pr {

struct IsoBox {
    char type[5] = {0, 0, 0, 0, 0};
    const uint8_t* payload = nullptr;
    size_t size = 0;  // of the payload
    bool is(const char* fourCc) const { return std::memcmp(type, fourCc, 4) == 0; }
};

// Reads the next box from `in` (big-endian) and moves past it. False at the end of `in`, or when
// the box does not fit (then `in` has failed).
bool nextIsoBox(ByteReader& in, IsoBox& box);

// The first box of `type` among the boxes of `data`; false when there is none.
bool findIsoBox(const uint8_t* data, size_t size, const char* type, IsoBox& box);

}  // namespace pr
