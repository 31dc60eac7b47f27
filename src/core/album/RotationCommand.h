#pragma once
// The core of "Nach links rotieren (90°)" and "Nach rechts rotieren (90°)": the picture of the
// selected placement is turned, not the placement, so every placement showing that picture shows
// it turned inside its unchanged frame. The picture's Rotation counts the clockwise quarter turns
// since the file was read, so that reading the album turns the file the same way again.

#include "core/album/Album.h"

namespace pr {

enum class TurnDirection { Left, Right };

// Turns the picture whose Key is the selected placement's ImageKey: its Rotation changes (right:
// +1, 4 wraps to 0; left: -1, -1 wraps to 3) and every rendition made from now on shows it turned.
// Returns false when nothing was turned: no placement selected, a selection outside the placement
// array, no picture with that key, or a picture without pixels. The caller redraws the page and
// the strip.
bool TurnSelectedPicture(Album& album, TurnDirection direction);

// The same for the picture with `key`, whatever is selected (undoing and redoing a turn).
bool TurnPicture(Album& album, int32_t key, TurnDirection direction);

}  // namespace pr
