#pragma once
// The order of the album's pictures (tab "Sortieren"). Whole entries move, keys included, so every
// placement keeps showing the same picture; nothing but the order changes.

#include <cstdint>

namespace pr {

class Album;

// Exchange picture i with its neighbour; false (nothing changed) at the end of the list or for an
// index outside it.
bool movePictureUp(Album& album, int32_t i);
bool movePictureDown(Album& album, int32_t i);

// Ascending by the whole path as unsigned bytes, folder included: upper-case ASCII before
// lower-case, bytes above 127 after both, a prefix before the longer path.
void sortPicturesByPath(Album& album);

}  // namespace pr
