#pragma once
// A picture dragged from the strip onto the page, or double-clicked there.

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class PlacePictureCommand : public PlacementsCommand {
public:
    PlacePictureCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Bild platzieren")) {}
};

}  // namespace pr
