#pragma once
// "Seite füllen mit...": all copies of a placement at once.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class FillPageCommand : public PlacementsCommand {
public:
    FillPageCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Seite füllen")) {}
};

}  // namespace pr
