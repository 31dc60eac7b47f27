#pragma once
// Album-side steps of editing a page by mouse: finding the placement under the mouse, bringing
// the selected one to the front, adding a picture to a page and deleting a placement. The window
// repaints, enables its controls and raises the picture's resolution around these.

#include <cstdint>

#include "core/album/Album.h"

namespace pr {

// The placement of `page` whose frame on screen contains (x, y), its right and bottom edge
// excluded, searched from the last (frontmost) placement down; -1 when there is none.
int32_t PlacementAt(const Album& album, int32_t page, int zoom, int screenPpi, int x, int y);

// Exchanges the selected placement with the last one of the array, so it is drawn in front, and
// selects the last index; no other placement moves. False (nothing done) with no valid selection
// or when it already is the last one.
bool BringAkInFront(Album& album);

// Appends a placement of picture `key` on `page` at the given inches; its index, or -1 when the
// placement array could not grow (the array then reported it and stays unchanged).
int32_t AddPlacement(Album& album, int32_t key, int32_t page, double left, double top, double width,
                     double height, bool fitCrop);

// Deletes the selected placement and clears the selection. False when nothing was selected or
// the array could not shrink (then the placement and the selection stay).
bool DeleteSelectedPlacement(Album& album);

// The index of the picture with `key` (the first one), or -1.
int32_t pictureIndexOfKey(const Album& album, int32_t key);

}  // namespace pr
