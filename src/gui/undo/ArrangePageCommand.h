#pragma once
// "Automatisch anordnen...": every placement of the current page at once.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class ArrangePageCommand : public PlacementsCommand {
public:
    ArrangePageCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Automatisch anordnen")) {}
};

}  // namespace pr
