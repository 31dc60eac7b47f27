#pragma once
// Quarter turns of a picture. The turned picture replaces the record's pixels (width and height
// exchanged, same bit count, same colour table and so the same palette); copies of the record made
// before keep the unturned pixels.
//
// Coordinates as seen, from the top-left corner, for a picture W wide and H high:
//  - RotLeft  (counter-clockwise): pixel (x, y) moves to (y, W - 1 - x);
//  - RotRight (clockwise):         pixel (x, y) moves to (H - 1 - y, x).
// Pixel values (palette indexes or colours) are copied unchanged.

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace pr {

// Both return false and leave the picture untouched when it is empty or the turned picture cannot
// be made. Progress: 0 first, then y * 100 div (H - 1) for the first row y of each band of rows
// (0 for one-row pictures), and 0 at the end.
bool RotLeft(ImageBuffer& image, const ProgressFn& progress = {});
bool RotRight(ImageBuffer& image, const ProgressFn& progress = {});

// Turns a freshly read picture by a stored count of clockwise quarter turns (0..3; other values
// are taken modulo 4): 1 and 2 turn right once and twice, 3 turns left once. False when a turn
// could not be made; the picture then holds the turns made so far.
bool TurnByQuarterTurns(ImageBuffer& image, int quarterTurns, const ProgressFn& progress = {});

}  // namespace pr
