#pragma once
// Raising a picture's resolution to the minimum print quality ("Bildqualität hochrechnen auf
// Mindestqualität"). A picture placed large may have too few pixels for a smooth print; it is
// enlarged in memory so that it has at least `minQuality` dots per inch across the frame width.
// Pictures are never made smaller, so a later, smaller frame keeps the enlarged pixels.

#include <string>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace pr {

// The two controls of the group "Bildqualität": EnhanceQualCheck and MinQualEd (10..300 dpi).
struct QualitySettings {
    bool enhance = true;
    int minQuality = 72;
};

enum class QualityOutcome {
    Unchanged,  // off, good enough already, or a frame with no width
    Enlarged,
    DepthFailed,   // could not raise to 24 bits; the picture keeps its depth and size
    ResizeFailed,  // could not enlarge; the picture keeps its size
};

// The message the user sees for a failed outcome, shown with the error icon; empty otherwise.
// DepthFailed carries the caption "Fehler", ResizeFailed none.
struct QualityMessage {
    std::string text;
    std::string caption;
};
QualityMessage qualityMessage(QualityOutcome outcome);

// Enlarges `image` when it is narrower than trunc(minQuality * widthInches) pixels, or lower than
// that width times its height div its width. Palette pictures are first raised to 24 bits, then
// the picture is resampled bilinearly. The frame height is accepted and not used: the width alone
// decides, and the height follows the picture's own proportions.
//
// A frame so large that the enlarged picture would pass the size limits is refused before
// anything is allocated or converted (ResizeFailed, the picture exactly as it was).
QualityOutcome Changequal(ImageBuffer& image, double widthInches, double heightInches,
                          const QualitySettings& settings, const ProgressFn& progress = {});

// The decision of Changequal alone, for a picture of width x height: Unchanged, Enlarged with
// the size it is raised to in newWidth x newHeight, or ResizeFailed when that size passes the
// limits. Nothing is allocated.
QualityOutcome enlargementFor(int width, int height, double widthInches,
                              const QualitySettings& settings, int& newWidth, int& newHeight);

}  // namespace pr
