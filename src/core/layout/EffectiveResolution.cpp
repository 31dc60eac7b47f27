#include "core/layout/EffectiveResolution.h"

#include <algorithm>
#include <cmath>

#include "core/layout/PageUnits.h"

namespace pr {

double effectiveDpi(int pictureWidth, int pictureHeight, double frameWidth, double frameHeight,
                    bool fitCrop, bool keepAspect) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return 0;
    if (!(frameWidth > 0) || !(frameHeight > 0) || !std::isfinite(frameWidth) ||
        !std::isfinite(frameHeight))
        return 0;
    const double dpiX = pictureWidth / frameWidth;
    const double dpiY = pictureHeight / frameHeight;
    if (!keepAspect) return std::min(dpiX, dpiY);  // stretched: each axis on its own
    // Kept aspect: one scale for both axes. Fitting whole leaves the axis with room to spare
    // denser than the frame, cropping cuts the denser axis down, so every shown pixel lies on the
    // other axis's scale.
    return fitCrop ? std::min(dpiX, dpiY) : std::max(dpiX, dpiY);
}

bool belowMinimumQuality(double dpi, double minimumDpi) {
    return dpi > 0 && dpi < minimumDpi;
}

int wholeDpi(double dpi) {
    return truncToInt(dpi);
}

}  // namespace pr
