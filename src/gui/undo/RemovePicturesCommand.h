#pragma once
// Pictures removed from the album ("&Löschen"), each with all its placements. Undoing reads their
// files again and puts them back at their places, and the placements as they were.

#include <cstdint>
#include <vector>

#include "core/album/PictureEntries.h"
#include "core/album/PlacementsSnapshot.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class RemovePicturesCommand : public AlbumCommand {
public:
    // `removed` and `placementsBefore` were taken before the change; the album holds it now.
    RemovePicturesCommand(const Album& album, std::vector<PictureEntry> removed,
                          PlacementsSnapshot placementsBefore);

    bool changesNothing() const override { return removed_.empty(); }
    bool changesPictureList() const override { return true; }
    std::size_t bytes() const override;

protected:
    void redoChange(Album& album) override;
    void undoChange(Album& album) override;

private:
    std::vector<PictureEntry> removed_;
    PlacementsSnapshot before_;
    PlacementsSnapshot after_;
};

}  // namespace pr
