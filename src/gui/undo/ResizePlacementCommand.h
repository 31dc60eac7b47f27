#pragma once
// One drag of a placement by one of its eight handles, from the press to the release.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class ResizePlacementCommand : public PlacementsCommand {
public:
    ResizePlacementCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Größe ändern")) {}
};

}  // namespace pr
