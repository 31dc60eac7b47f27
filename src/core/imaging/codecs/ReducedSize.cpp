#include "core/imaging/codecs/ReducedSize.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pr {

PixelSize reducedSizeCovering(int width, int height, const DecodeOptions& options, bool swapsAxes) {
    const PixelSize whole{width, height};
    if (options.maxWidth <= 0 || options.maxHeight <= 0 || width <= 0 || height <= 0) return whole;
    int wantW = options.maxWidth, wantH = options.maxHeight;
    if (swapsAxes) std::swap(wantW, wantH);
    const double factor =
        std::max(static_cast<double>(wantW) / width, static_cast<double>(wantH) / height);
    if (factor >= 1.0) return whole;
    PixelSize reduced;
    reduced.width = std::clamp(static_cast<int>(std::ceil(width * factor)), wantW, width);
    reduced.height = std::clamp(static_cast<int>(std::ceil(height * factor)), wantH, height);
    return reduced;
}

}  // namespace pr
