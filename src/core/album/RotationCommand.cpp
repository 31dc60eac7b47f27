#include "core/album/RotationCommand.h"

#include "core/imaging/Rotate.h"

namespace pr {
namespace {

// Also brings a count from a damaged album file back into 0..3.
int32_t wrapQuarterTurns(int32_t turns) {
    return ((turns % 4) + 4) % 4;
}

}  // namespace

bool TurnSelectedPicture(Album& album, TurnDirection direction, const ProgressFn& progress) {
    const int32_t selected = album.SelectedPlacement;
    if (selected < 0 || static_cast<uint32_t>(selected) >= album.placementCount()) return false;
    const Placement* placement = reinterpret_cast<Placement*>(album.Placements.Select(selected));
    for (AlbumImage& picture : album.Pictures) {
        if (picture.Key != placement->ImageKey) continue;
        if (direction == TurnDirection::Left) {
            if (!RotLeft(picture.Image, progress)) return false;
            picture.Rotation = wrapQuarterTurns(picture.Rotation - 1);
        } else {
            if (!RotRight(picture.Image, progress)) return false;
            picture.Rotation = wrapQuarterTurns(picture.Rotation + 1);
        }
        return true;
    }
    return false;
}

}  // namespace pr
