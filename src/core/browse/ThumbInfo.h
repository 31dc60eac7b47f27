#pragma once
// What the browser knows of a picture beside its thumbnail. The cache file stores these eight
// little-endian int32 values as they are, 32 bytes per entry.

#include <cstddef>
#include <cstdint>

#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

namespace pr {

struct ThumbInfo {
    int32_t bitCount = 0;  // of the picture, and so of the thumbnail
    int32_t thumbWidth = 0;
    int32_t thumbHeight = 0;
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    int32_t colorCount = 0;  // 2 ^ bitCount in 32-bit arithmetic: 16777216 for 24 bits
    int32_t kiloBytes = 0;   // the picture's pixel data (image size) shifted right by 10
    int32_t check = 0;       // fingerprint of the picture file (FileCheck.h)
};

constexpr std::size_t kThumbInfoBytes = 32;

// 2 ^ bitCount for the bit counts a picture can have (1, 4, 8, 24); 0 for anything else.
int32_t colorCountForBits(int bitCount);

// The record for a freshly made thumbnail.
ThumbInfo makeThumbInfo(int bitCount, int thumbWidth, int thumbHeight, int pictureWidth,
                        int pictureHeight, uint64_t pictureImageBytes, int32_t check);

// The 32 stored bytes, appended to `out` / read from `in`.
void storeThumbInfo(const ThumbInfo& info, ByteWriter& out);
ThumbInfo loadThumbInfo(ByteReader& in);

}  // namespace pr
