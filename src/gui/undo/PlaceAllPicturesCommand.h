#pragma once
// "Alle übernehmen": one placement for every picture of the album at once.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class PlaceAllPicturesCommand : public PlacementsCommand {
public:
    PlaceAllPicturesCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Alle übernehmen")) {}
};

}  // namespace pr
