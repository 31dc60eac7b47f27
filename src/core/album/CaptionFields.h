#pragma once
// Fields in a caption that stand for something of the picture: "{Datum}" (the day it was taken,
// from its EXIF data), "{Dateiname}" (the file's name without its folder) and "{Nr}" (its place in
// the album's list, from 1). The stored caption keeps the fields; they are filled in whenever a
// caption is drawn, so moving a picture in the list or reading another file changes the text.

#include <cstdint>
#include <string>

#include "core/album/Album.h"
#include "core/album/PictureFactsCache.h"

namespace pr {

struct CaptionFieldValues {
    std::string date;      // "TT.MM.JJJJ" or empty
    std::string fileName;  // without folder
    int number = 0;        // 1-based position in the album
};

// Whether `caption` holds any of the three fields (only then is anything looked up).
bool hasCaptionFields(const std::string& caption);

// `caption` with every field replaced by its value; anything else, other braces included, stays.
std::string expandCaptionFields(const std::string& caption, const CaptionFieldValues& values);

// The caption of the picture with `key` as it is shown: its fields filled in from the album and
// the picture's file (the EXIF date is read only when "{Datum}" is asked for, once per file).
std::string shownCaption(const Album& album, int32_t key, const std::string& caption,
                         PictureFactsCache& facts);

}  // namespace pr
