#include "core/album/QualityCheck.h"

namespace pr {

QualityOutcome ChangequalPlacement(Album& album, const Placement& placement,
                                   const QualitySettings& settings, const ProgressFn& progress) {
    // Copied first: enlarging cannot move the placement, but the caller's reference may point
    // into the placement array.
    const Placement frame = placement;
    for (AlbumImage& picture : album.Pictures) {
        if (picture.Key == frame.ImageKey) {
            return Changequal(picture.Image, frame.Width, frame.Height, settings, progress);
        }
    }
    return QualityOutcome::Unchanged;
}

std::vector<QualityOutcome> Checkallquals(Album& album, const QualitySettings& settings,
                                          const ProgressFn& progress) {
    std::vector<QualityOutcome> failures;
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        const QualityOutcome outcome =
            ChangequalPlacement(album, *album.placementAt(i), settings, progress);
        if (outcome == QualityOutcome::DepthFailed || outcome == QualityOutcome::ResizeFailed) {
            failures.push_back(outcome);
        }
    }
    return failures;
}

}  // namespace pr
