#pragma once
// The byte layout of the thumbnail cache file "bnsbrwse.cbf", one in every folder the browser has
// shown. All integers little-endian, no gaps:
//
//   0   2  marker 71 0E
//   2   4  entry count N, signed
//   6      N entries, in the order of the grid's cells:
//          0    261  file name without folder, ended by a zero byte (bytes after it mean nothing)
//          261   32  ThumbInfo (ThumbInfo.h)
//          293    4  L, signed: 40 + P + S
//          297    L  the thumbnail's BITMAPINFOHEADER (40 bytes), P bytes of colour table
//                    (4 x colour count when that is at most 256, else 0), S bytes of pixel rows
//                    (bottom row first, rows padded to 4 bytes)
//
// The thumbnail has the picture's bit count, so ThumbInfo's bit count and colour count describe
// it; its size is ThumbInfo's thumbnail width and height.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/browse/ThumbInfo.h"

namespace pr {

constexpr const char* kThumbCacheFileName = "bnsbrwse.cbf";
constexpr uint16_t kThumbCacheMarker = 0x0E71;
constexpr std::size_t kThumbCacheHeaderBytes = 6;
constexpr std::size_t kThumbCacheNameBytes = 261;  // at most 260 characters and the zero byte
constexpr std::size_t kThumbCacheEntryHeadBytes = kThumbCacheNameBytes + kThumbInfoBytes + 4;
constexpr std::size_t kBitmapHeaderBytes = 40;
// More entries than any folder plausibly holds pictures; a reader stops here whatever the count
// field claims.
constexpr int32_t kMaxThumbCacheEntries = 1'000'000;

// WithBackslash(folder) + "bnsbrwse.cbf"; empty for an empty folder (no file-system folder).
std::string thumbCacheFilePath(const std::string& folder);

// Bytes of colour table stored for a colour count: 4 each when at most 256, else none.
uint32_t colorTableBytes(int32_t colorCount);

// 40 + P + S for an entry whose ThumbInfo describes a thumbnail this program can make: bit count
// 1, 4, 8 or 24 with its matching colour count, sides of 1 to 80 pixels. Nothing otherwise.
std::optional<uint32_t> thumbDataBytes(const ThumbInfo& info);

}  // namespace pr
