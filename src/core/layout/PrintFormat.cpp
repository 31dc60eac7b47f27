#include "core/layout/PrintFormat.h"

#include <algorithm>
#include <cmath>

#include "core/layout/PageUnits.h"

namespace pr {

namespace {
// Sums of inch values carry rounding; a frame that fits to a hair still fits.
constexpr double kSlack = 1e-9;

bool overlaps(const FrameRect& a, const FrameRect& b) {
    return a.left < b.left + b.width - kSlack && b.left < a.left + a.width - kSlack &&
           a.top < b.top + b.height - kSlack && b.top < a.top + a.height - kSlack;
}
}  // namespace

const std::vector<PrintFormat>& printFormats() {
    static const std::vector<PrintFormat> formats = {
        {"9 x 13 cm", 90, 130},   {"10 x 15 cm", 100, 150}, {"13 x 18 cm", 130, 180},
        {"15 x 20 cm", 150, 200}, {"20 x 30 cm", 200, 300}, {"Passbild 3,5 x 4,5 cm", 35, 45},
    };
    return formats;
}

FrameRect formatFrame(const PrintFormat& format, bool landscapePicture) {
    FrameRect r;
    const double shortSide = mmToInches(format.shortMm), longSide = mmToInches(format.longMm);
    r.width = landscapePicture ? longSide : shortSide;
    r.height = landscapePicture ? shortSide : longSide;
    return r;
}

FrameRect resizedOnPage(const FrameRect& frame, double width, double height, double pageWidth,
                        double pageHeight) {
    FrameRect r{frame.left, frame.top, width, height};
    if (r.left + width > pageWidth + kSlack) r.left = std::max(0.0, pageWidth - width);
    if (r.top + height > pageHeight + kSlack) r.top = std::max(0.0, pageHeight - height);
    return r;
}

std::vector<FrameRect> fillPagePositions(double width, double height, double pageWidth,
                                         double pageHeight, double marginMm, double spacingMm,
                                         const std::vector<FrameRect>& occupied, size_t limit) {
    std::vector<FrameRect> cells;
    const double margin = mmToInches(marginMm), spacing = mmToInches(std::max(0.0, spacingMm));
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height) ||
        !std::isfinite(margin) || !std::isfinite(spacing))
        return cells;
    const double right = pageWidth - margin, bottom = pageHeight - margin;
    for (double y = margin; y + height <= bottom + kSlack; y += height + spacing) {
        for (double x = margin; x + width <= right + kSlack; x += width + spacing) {
            const FrameRect cell{x, y, width, height};
            if (std::none_of(occupied.begin(), occupied.end(),
                             [&](const FrameRect& o) { return overlaps(cell, o); }))
                cells.push_back(cell);
            if (cells.size() >= limit) return cells;
        }
    }
    return cells;
}

}  // namespace pr
