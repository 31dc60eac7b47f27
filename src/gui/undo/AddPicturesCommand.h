#pragma once
// Pictures added to the album ("Hinzufügen", dropped files, the thumbnail browser). Undoing
// removes them and lets their pixels go, and gives back the key counter, so the album is as it
// was; redoing reads their files again.

#include <cstdint>
#include <vector>

#include "core/album/PictureEntries.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class AddPicturesCommand : public AlbumCommand {
public:
    // The pictures from `firstIndex` on were added; `keyBefore` is NextPictureKey before.
    AddPicturesCommand(const Album& album, int32_t firstIndex, int32_t keyBefore);

    bool changesNothing() const override { return entries_.empty(); }
    bool changesPictureList() const override { return true; }
    std::size_t bytes() const override;

protected:
    void redoChange(Album& album) override;
    void undoChange(Album& album) override;

private:
    std::vector<PictureEntry> entries_;
    int32_t keyBefore_;
    int32_t keyAfter_;
};

}  // namespace pr
