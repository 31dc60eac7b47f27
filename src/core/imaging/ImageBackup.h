#pragma once
// A separate copy of a picture's pixels, colour table and palette, taken before the adjustment
// dialog opens, and the way back to it. Every preview starts again from the backup, so
// adjustments never pile up within one dialog, and cancelling gives back the picture byte for byte.

#include "core/imaging/ImageBuffer.h"

namespace pr {

// What the user sees when the backup cannot be made (shown with the error icon, no caption).
inline constexpr const char* kBackupFailedText =
    "Fehler: Konnte Bild nicht erstellen! (Zuwenig Speicher?)";

// Makes `backup` (previous content released) an image of its own with the same size, bit count,
// colour table, pixel bytes and palette as `picture`. False when it cannot be made.
bool MakeBackup(const ImageBuffer& picture, ImageBuffer& backup);

// Copies the backup's pixel bytes into `work`, and for palette pictures its palette and colour
// table, then makes the palette handle again. False (nothing changed) when the two differ in
// size or bit count.
bool RestoreOld(ImageBuffer& work, const ImageBuffer& backup);

}  // namespace pr
