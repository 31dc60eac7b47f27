#pragma once
// Album pictures as values, for undoing and redoing changes of the picture list: adding and
// removing pictures, and their order.
//
// An entry keeps a picture's path, caption, key and recipe, never its pixels: putting it back reads
// the file again (its header, and its thumbnail as adding does), unless the picture's source is
// still alive elsewhere (a print job's copy of the album), which is then shared again. A file that
// can no longer be read comes back as a placeholder of 320 x 200, as an album file's missing
// pictures do, so the entry, its placements and a later save stay whole.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/album/Album.h"

namespace pr {

struct PictureEntry {
    int32_t Index = 0;  // place in album order
    AlbumImage Image;   // without its Source
    std::weak_ptr<const PictureSource> Source;
};

// Reads the pictures at `paths` again: one source per path, in order; null or without pixels when
// a file cannot be read.
using PictureSourceFinder =
    std::function<std::vector<PictureSourcePtr>(const std::vector<std::string>& paths)>;

// The entries of the pictures at `indices` (any order, repeats and indices outside the album
// dropped), ascending by index.
std::vector<PictureEntry> pictureEntries(const Album& album, std::vector<int32_t> indices);

// Puts `entries` (ascending by index) back at their places. Returns the paths that could not be
// read (now placeholders).
std::vector<std::string> insertPictureEntries(Album& album,
                                              const std::vector<PictureEntry>& entries,
                                              const PictureSourceFinder& find);

// Removes the pictures with these keys, each with its placements (Album::removePicture).
void removePicturesWithKeys(Album& album, const std::vector<int32_t>& keys);

// The keys in album order, and putting the pictures into such an order again. False (nothing
// changed) when the keys are not exactly the album's.
std::vector<int32_t> pictureKeyOrder(const Album& album);
bool restorePictureKeyOrder(Album& album, const std::vector<int32_t>& keys);

}  // namespace pr
