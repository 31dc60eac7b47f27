#pragma once
// AlbumImage: one picture of the album. It owns its path, its caption and its share of the pixels;
// placements name it only by Key, so reordering pictures never disturbs a page.

#include <cstdint>
#include <string>

#include "core/imaging/ImageBuffer.h"

namespace pr {

struct AlbumImage {
    std::string FileName;  // full path as added, or as resolved when the album was read
    std::string Comment;   // caption of every placement of this picture; empty = no caption
    ImageBuffer Image;     // already turned by Rotation quarter turns
    int32_t Rotation = 0;  // quarter turns clockwise relative to the file, 0..3
    int32_t Key = 0;
};

}  // namespace pr
