#include "core/album/SavedAlbumState.h"

#include "core/album/AlbumFileWriter.h"

namespace pr {

std::vector<uint8_t> SavedAlbumState::contentOf(const Album& album, const AlbumSettings& settings) {
    AlbumFileContent content = albumFileContentOf(album, settings);
    content.SelectedPlacement = 0;
    content.StripSelection = 0;
    content.Settings.Zoom = 0;
    // No album path: every picture keeps its whole path, whatever the album is called.
    return encodeAlbumFile(content, std::string(), SameFolderFn());
}

void SavedAlbumState::remember(const Album& album, const AlbumSettings& settings) {
    saved_ = contentOf(album, settings);
}

bool SavedAlbumState::changed(const Album& album, const AlbumSettings& settings) const {
    return contentOf(album, settings) != saved_;
}

}  // namespace pr
