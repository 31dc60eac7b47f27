#include "gui/album/PictureOrder.h"

#include <algorithm>
#include <utility>

#include "core/album/Album.h"

namespace pr {

bool movePictureUp(Album& album, int32_t i) {
    if (i < 1 || i > album.PictureCount() - 1) return false;
    std::swap(album.Pictures[static_cast<std::size_t>(i) - 1],
              album.Pictures[static_cast<std::size_t>(i)]);
    return true;
}

bool movePictureDown(Album& album, int32_t i) {
    if (i < 0 || i > album.PictureCount() - 2) return false;
    std::swap(album.Pictures[static_cast<std::size_t>(i)],
              album.Pictures[static_cast<std::size_t>(i) + 1]);
    return true;
}

void sortPicturesByPath(Album& album) {
    // std::string compares through char_traits<char>, which orders like memcmp: unsigned bytes.
    std::stable_sort(
        album.Pictures.begin(), album.Pictures.end(),
        [](const AlbumImage& a, const AlbumImage& b) { return a.FileName < b.FileName; });
}

}  // namespace pr
