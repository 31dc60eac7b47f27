#pragma once
// The caps on every picture this program allocates. Every reader checks a header against these
// before it asks for memory, so a forged header cannot make us allocate gigabytes.
//
// Figures: a 24-bit picture may have at most 300 million pixels and 1 GiB of pixel rows, with no
// side longer than 131072 pixels. A 200-megapixel panorama (for example 40000 x 5000, 600 MB at 24
// bits) therefore opens; 65536 x 65536 (4.3 gigapixels) is refused. A handful of such pictures fit
// in 24 GiB.

#include <cstdint>

namespace pr {

constexpr int64_t kMaxImageSide = 131072;
constexpr int64_t kMaxImagePixels = 300'000'000;
constexpr uint64_t kMaxImageBytes = uint64_t{1} << 30;

}  // namespace pr
