#include "render/QualityWarning.h"

#include <QPainter>
#include <QPolygon>

#include "core/layout/EffectiveResolution.h"
#include "core/layout/PageGeometry.h"
#include "core/layout/PageUnits.h"
#include "core/layout/PrintResolution.h"
#include "render/PageRenderer.h"

namespace pr {

namespace {

bool warned(const Album& album, const Placement& p, const PageRenderOptions& options,
            PictureFactsCache& facts, double& dpi) {
    if (options.minimumDpi <= 0 || p.Page != options.page) return false;
    dpi = placementDpi(album, p, options.keepAspect, facts);
    return belowMinimumQuality(dpi, options.minimumDpi);
}

// Kept near the sheet, so the corner sums stay within int whatever a damaged album holds.
PixelRect frameOf(const Placement& p, const PageRenderOptions& options, QSize sheet) {
    return frameNearPage(p.Left, p.Top, p.Width, p.Height, options.zoom, options.ppi, sheet.width(),
                         sheet.height());
}

}  // namespace

QRect QualityWarning::triangleRect(int x, int y, int w) {
    // A little in from the corner, clear of the selection frame's corner handle.
    return QRect(x + w - kSize - 6, y + 6, kSize, kSize);
}

void QualityWarning::draw(QPainter& painter, const Album& album, const PageRenderOptions& options,
                          QSize sheet, PictureFactsCache& facts) {
    if (options.minimumDpi <= 0 || album.AlbumLoading) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (uint32_t i = 0; i < album.placementCount(); ++i) {
        const Placement& p = *album.placementAt(i);
        double dpi = 0;
        if (!warned(album, p, options, facts, dpi)) continue;
        const PixelRect f = frameOf(p, options, sheet);
        const QRect r = triangleRect(f.x, f.y, f.w);
        const QPolygonF triangle({QPointF(r.center().x() + 0.5, r.top()),
                                  QPointF(r.right() + 1, r.bottom() + 1),
                                  QPointF(r.left(), r.bottom() + 1)});
        painter.setPen(QPen(QColor(90, 60, 0), 1));
        painter.setBrush(QColor(255, 200, 0));
        painter.drawPolygon(triangle);
        // The exclamation mark: a bar and a dot.
        const qreal cx = r.center().x() + 0.5;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRect(QRectF(cx - 1, r.top() + 5, 2, kSize - 11));
        painter.drawRect(QRectF(cx - 1, r.bottom() - 3, 2, 2));
    }
    painter.restore();
}

int32_t QualityWarning::warnedPlacementAt(const Album& album, const PageRenderOptions& options,
                                          QSize sheet, QPoint pos, PictureFactsCache& facts,
                                          double& dpi) {
    for (uint32_t i = album.placementCount(); i-- > 0;) {
        const Placement& p = *album.placementAt(i);
        if (p.Page != options.page) continue;
        const PixelRect f = frameOf(p, options, sheet);
        const QRect frame(f.x, f.y, f.w, f.h);
        if (!frame.contains(pos) && !triangleRect(f.x, f.y, f.w).contains(pos)) continue;
        // The frontmost frame under the mouse answers, warned or not.
        return warned(album, p, options, facts, dpi) ? static_cast<int32_t>(i) : -1;
    }
    return -1;
}

QString QualityWarning::hintText(double dpi) {
    return QStringLiteral("Auflösung für den Druck zu gering (%1 dpi)\n").arg(wholeDpi(dpi)) +
           QString::fromUtf8("Hochrechnen fügt nur Pixel hinzu, keine Details.");
}

}  // namespace pr
