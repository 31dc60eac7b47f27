#pragma once
// One drag of a placement by its body, from the press to the release.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class MovePlacementCommand : public PlacementsCommand {
public:
    MovePlacementCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Verschieben")) {}
};

}  // namespace pr
