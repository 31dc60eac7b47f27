#pragma once
// One cell of the thumbnail grid: what a run appends for a picture file and what the cache file
// stores for it.

#include <string>

#include "core/browse/ThumbInfo.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

struct ThumbCell {
    std::string name;  // the file name without folder, as the directory entry has it
    ThumbInfo info;
    ImageBuffer thumbnail;  // at most 80 x 80, the picture's bit count
};

}  // namespace pr
