#include "core/album/AlbumFileText.h"

#include "core/io/PathText.h"

namespace pr {

std::string albumFolderOf(const std::string& albumPath) {
    return splitStoredPath(albumPath).folder;
}

std::string resolveStoredPath(const std::string& stored, const std::string& albumFolder) {
    if (stored.empty() || !splitStoredPath(stored).folder.empty()) return stored;
    return albumFolder + stored;
}

}  // namespace pr
