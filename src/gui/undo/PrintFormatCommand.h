#pragma once
// A placement set to an exact print size ("Format").

#include "gui/undo/PlacementsCommand.h"

namespace pr {

class PrintFormatCommand : public PlacementsCommand {
public:
    PrintFormatCommand(const Album& album, PlacementsSnapshot before)
        : PlacementsCommand(album, std::move(before), QStringLiteral("Format")) {}
};

}  // namespace pr
