#include "core/album/QualityCheck.h"

#include <utility>

namespace pr {

QualityOutcome ChangequalPlacement(Album& album, const Placement& placement,
                                   const QualitySettings& settings) {
    // Copied first: enlarging cannot move the placement, but the caller's reference may point
    // into the placement array.
    const Placement frame = placement;
    AlbumImage* picture = album.pictureWithKey(frame.ImageKey);
    if (!picture || !picture->hasPixels()) return QualityOutcome::Unchanged;
    int w, h;
    const QualityOutcome outcome =
        enlargementFor(picture->width(), picture->height(), frame.Width, settings, w, h);
    if (outcome == QualityOutcome::Enlarged) {
        // Kept as the file's picture stands, so that later turns turn it along.
        if (picture->Rotation % 2 != 0) std::swap(w, h);
        picture->EnlargedWidth = w;
        picture->EnlargedHeight = h;
    }
    return outcome;
}

std::vector<QualityOutcome> Checkallquals(Album& album, const QualitySettings& settings) {
    std::vector<QualityOutcome> failures;
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        const QualityOutcome outcome = ChangequalPlacement(album, *album.placementAt(i), settings);
        if (outcome == QualityOutcome::DepthFailed || outcome == QualityOutcome::ResizeFailed) {
            failures.push_back(outcome);
        }
    }
    return failures;
}

}  // namespace pr
