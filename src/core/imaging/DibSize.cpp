#include "core/imaging/DibSize.h"

#include "core/imaging/Limits.h"

namespace pr {

int64_t dibRowBytes(int64_t width, int bitCount) {
    if (width <= 0 || width > kMaxImageSide || bitCount <= 0 || bitCount > 32) return 0;
    return ((width * bitCount + 31) / 32) * 4;
}

SizeCheck computeDibLayout(int64_t width, int64_t height, int bitCount, DibLayout& out) {
    if (width <= 0 || height <= 0) return SizeCheck::BadDimensions;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return SizeCheck::BadDimensions;
    if (width > kMaxImageSide || height > kMaxImageSide) return SizeCheck::TooLarge;
    if (width * height > kMaxImagePixels) return SizeCheck::TooLarge;
    const int64_t row = dibRowBytes(width, bitCount);
    const uint64_t total = static_cast<uint64_t>(row) * static_cast<uint64_t>(height);
    if (total > kMaxImageBytes) return SizeCheck::TooLarge;
    out.rowBytes = static_cast<int32_t>(row);
    out.imageBytes = total;
    return SizeCheck::Ok;
}

}  // namespace pr
