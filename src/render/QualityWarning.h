#pragma once
// The warning on the page editor for placements that print too coarsely: a small triangle in the
// top-right corner of the frame, and the hint text the page shows for it. Screen only: printing,
// the preview and export never draw it.

#include <QRect>
#include <QSize>
#include <QString>

#include "core/album/Album.h"
#include "core/album/PictureFactsCache.h"

class QPainter;

namespace pr {

struct PageRenderOptions;

class QualityWarning {
public:
    // Side of the triangle in screen pixels; it keeps its size at every zoom.
    static constexpr int kSize = 16;

    // The triangles of every placement of options.page whose picture prints below
    // options.minimumDpi (nothing when that is 0). Drawn above all placements, so a warning is
    // never hidden by a frame in front.
    static void draw(QPainter& painter, const Album& album, const PageRenderOptions& options,
                     QSize sheet, PictureFactsCache& facts);

    // Where the triangle of a frame at x, y, w pixels wide lies: inside its top-right corner.
    static QRect triangleRect(int x, int y, int w);

    // The placement of options.page under `pos` that carries a warning, frontmost first, with its
    // resolution in `dpi`; -1 when none does.
    static int32_t warnedPlacementAt(const Album& album, const PageRenderOptions& options,
                                     QSize sheet, QPoint pos, PictureFactsCache& facts,
                                     double& dpi);

    // "Auflösung für den Druck zu gering (N dpi)" and why enlarging does not help.
    static QString hintText(double dpi);
};

}  // namespace pr
