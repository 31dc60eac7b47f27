#pragma once
// A quarter turn of a picture, undone by the opposite turn.

#include <cstdint>

#include "core/album/RotationCommand.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class TurnPictureCommand : public AlbumCommand {
public:
    TurnPictureCommand(int32_t key, TurnDirection direction)
        : AlbumCommand(direction == TurnDirection::Left ? QStringLiteral("Nach links rotieren")
                                                        : QStringLiteral("Nach rechts rotieren")),
          key_(key),
          direction_(direction) {}

protected:
    void redoChange(Album& album) override { TurnPicture(album, key_, direction_); }
    void undoChange(Album& album) override {
        TurnPicture(album, key_,
                    direction_ == TurnDirection::Left ? TurnDirection::Right : TurnDirection::Left);
    }

private:
    int32_t key_;
    TurnDirection direction_;
};

}  // namespace pr
