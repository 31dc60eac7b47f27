#pragma once
// SavedAlbumState: whether the album holds changes that saving would keep. It remembers the album
// file's content as it was when the album was last saved, read or emptied, and compares the
// present content with it. The selection (placement and strip picture) and the zoom are left out:
// choosing a placement or zooming in is looking at an album, not changing it.
//
// The picture pixels are not part of an album file, but what was done to them is: turning and
// confirmed brightness/contrast/saturation are changes (the file keeps the quarter turns and the
// adjustments), while the enlargement to the minimum quality is not (it follows from the frames,
// and opening the album makes it again).

#include <cstdint>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumSettings.h"

namespace pr {

class SavedAlbumState {
public:
    void remember(const Album& album, const AlbumSettings& settings);
    bool changed(const Album& album, const AlbumSettings& settings) const;

private:
    static std::vector<uint8_t> contentOf(const Album& album, const AlbumSettings& settings);
    std::vector<uint8_t> saved_;
};

}  // namespace pr
