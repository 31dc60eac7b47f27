#pragma once
// A placement deleted from its page (the picture stays in the album).

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class DeletePlacementCommand : public PlacementsCommand {
public:
    DeletePlacementCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Löschen")) {}
};

}  // namespace pr
