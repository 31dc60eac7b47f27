#pragma once
// The one place where width x height x bits is computed. All arithmetic is 64-bit and checked
// against Limits.h, so callers never see a wrapped size.

#include <cstdint>

namespace pr {

enum class SizeCheck { Ok, BadDimensions, TooLarge };

struct DibLayout {
    int32_t rowBytes = 0;     // bytes per stored row, padded to 4 bytes
    uint64_t imageBytes = 0;  // rowBytes * height
};

// Checks a picture of width x height at bitCount (1, 4, 8 or 24; 16 and 32 are accepted for
// readers that size their input rows) and fills `out` when it is within the limits.
SizeCheck computeDibLayout(int64_t width, int64_t height, int bitCount, DibLayout& out);

// Bytes per padded row, or 0 when the row itself would exceed the limits.
int64_t dibRowBytes(int64_t width, int bitCount);

}  // namespace pr
