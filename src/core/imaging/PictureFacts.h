#pragma once
// What a picture file says about itself without a pixel of it being decoded: its size as stored
// and the day it was taken. Cheap enough to ask once per picture while a page is drawn.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pr {

struct PictureFacts {
    bool sizeKnown = false;
    int width = 0;  // as stored in the file, before any orientation or quarter turn
    int height = 0;
    std::string dateTaken;  // "TT.MM.JJJJ" from the EXIF data, empty when there is none
};

// Reads the header (and the EXIF data) of the picture file at `path`. Only the leading part of
// the file is read unless the header lies further in; a file that cannot be read or recognised
// gives facts with sizeKnown false and no date.
PictureFacts readPictureFacts(const std::string& path);

// The same for a file already in memory.
PictureFacts pictureFactsOf(const uint8_t* data, std::size_t size);

}  // namespace pr
