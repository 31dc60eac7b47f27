#pragma once
// The fit/crop switch of a placement.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class FitCropCommand : public PlacementsCommand {
public:
    FitCropCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Einpassen/Abschneiden")) {}
};

}  // namespace pr
