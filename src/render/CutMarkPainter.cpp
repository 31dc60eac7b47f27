#include "render/CutMarkPainter.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "core/album/Album.h"
#include "core/layout/CutMarks.h"
#include "core/layout/PageUnits.h"
#include "render/PageRenderer.h"

namespace pr {

void CutMarkPainter::draw(QPainter& painter, const Album& album, const PageRenderOptions& options) {
    const double pixelsPerInch = options.ppi * options.zoom / 100.0;
    const double width = std::max(1.0, pixelsPerInch * mmToInches(kLineMm));
    // Frames beyond any sensible page (a damaged album) get no marks: their lines would only be
    // clipped away, and their sums could leave the int range.
    constexpr double kFarInches = 1000;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
    auto px = [&](double inches) { return inchesToScreen(inches, options.zoom, options.ppi); };
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        const Placement& p = *album.placementAt(i);
        if (p.Page != options.page || !(p.Width > 0) || !(p.Height > 0)) continue;
        if (!(std::fabs(p.Left) < kFarInches && std::fabs(p.Top) < kFarInches &&
              p.Width < kFarInches && p.Height < kFarInches))
            continue;
        for (const MarkLine& l : cutMarkLines(p.Left, p.Top, p.Width, p.Height))
            painter.drawLine(QPoint(px(l.x1), px(l.y1)), QPoint(px(l.x2), px(l.y2)));
    }
    painter.restore();
}

}  // namespace pr
