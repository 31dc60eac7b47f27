#include "core/album/RotationCommand.h"

namespace pr {
namespace {

// Also brings a count from a damaged album file back into 0..3.
int32_t wrapQuarterTurns(int32_t turns) {
    return ((turns % 4) + 4) % 4;
}

}  // namespace

bool TurnSelectedPicture(Album& album, TurnDirection direction) {
    const int32_t selected = album.SelectedPlacement;
    if (selected < 0 || static_cast<uint32_t>(selected) >= album.placementCount()) return false;
    const Placement* placement = reinterpret_cast<Placement*>(album.Placements.Select(selected));
    return TurnPicture(album, placement->ImageKey, direction);
}

bool TurnPicture(Album& album, int32_t key, TurnDirection direction) {
    AlbumImage* picture = album.pictureWithKey(key);
    if (!picture || !picture->hasPixels()) return false;
    // The pixels are turned when they are next drawn (from the cached renditions of the
    // previous turn where there are any).
    picture->Rotation =
        wrapQuarterTurns(picture->Rotation + (direction == TurnDirection::Left ? -1 : 1));
    return true;
}

}  // namespace pr
