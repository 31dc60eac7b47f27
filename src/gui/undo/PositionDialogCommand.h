#pragma once
// Position and size typed into the dialog "Größe und Position ändern".

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class PositionDialogCommand : public PlacementsCommand {
public:
    PositionDialogCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Größe und Position")) {}
};

}  // namespace pr
