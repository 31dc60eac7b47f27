#pragma once
// Raising album pictures to the minimum print quality, frame by frame (see imaging/Quality.h).
// The settings come from the controls of the layout tab as parameters.
//
// Only the decision is made here, from the picture's full size: an enlarged picture records the
// size it is raised to (AlbumImage::EnlargedWidth/Height), and its renditions are interpolated
// from the file at whatever size a destination needs (PictureRenditions.h). So the messages come
// exactly when the eager enlargement would give them for the size, and nothing is allocated.

#include <vector>

#include "core/album/Album.h"
#include "core/album/Placement.h"
#include "core/imaging/Quality.h"

namespace pr {

// Changequal on the picture shown by `placement` (the first picture with its ImageKey), with the
// placement's width and height. Unchanged when no picture has the key.
QualityOutcome ChangequalPlacement(Album& album, const Placement& placement,
                                   const QualitySettings& settings);

// Checkallquals: ChangequalPlacement for every placement in array order, after an album was read
// and before pages are printed. Returns the failed outcomes in the order they happened; the window
// shows one message for each (qualityMessage), so one picture in several frames that are too large
// may give several. The placement array's current record is left alone.
std::vector<QualityOutcome> Checkallquals(Album& album, const QualitySettings& settings);

}  // namespace pr
