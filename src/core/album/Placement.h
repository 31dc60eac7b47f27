#pragma once
// Placement: one picture on one page. The album file stores this record byte for byte, so its
// layout is part of the file format and is pinned down by the static_asserts below; change nothing
// here without changing the file version.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace pr {

struct Placement {
    double Left;          // inches from the left edge of the printable area
    double Top;           // inches from the top edge of the printable area
    double Width;         // inches
    double Height;        // inches
    int32_t Page;         // counting from 1
    int32_t ImageKey;     // Key of the AlbumImage shown
    uint8_t FitCrop;      // 1: fill the frame and cut the overflow; 0: fit inside the frame
    uint8_t Reserved[7];  // zero in every record the program makes
};

static_assert(sizeof(Placement) == 48, "a placement is 48 bytes in the album file");
static_assert(std::is_standard_layout<Placement>::value, "stored byte for byte");
static_assert(std::is_trivially_copyable<Placement>::value, "stored byte for byte");
static_assert(offsetof(Placement, Left) == 0, "album file layout");
static_assert(offsetof(Placement, Top) == 8, "album file layout");
static_assert(offsetof(Placement, Width) == 16, "album file layout");
static_assert(offsetof(Placement, Height) == 24, "album file layout");
static_assert(offsetof(Placement, Page) == 32, "album file layout");
static_assert(offsetof(Placement, ImageKey) == 36, "album file layout");
static_assert(offsetof(Placement, FitCrop) == 40, "album file layout");
static_assert(offsetof(Placement, Reserved) == 41, "album file layout");
static_assert(sizeof(double) == 8, "coordinates are IEEE 754 doubles");

}  // namespace pr
