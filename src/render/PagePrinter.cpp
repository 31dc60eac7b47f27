#include "render/PagePrinter.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace pr {

PageRenderOptions PagePrinter::printerOptions(PageRenderOptions screen, int dpi) {
    screen.zoom = 100;
    screen.ppi = dpi;
    screen.showGrid = false;
    screen.selected = -1;
    screen.minimumDpi = 0;
    screen.dragging = false;
    return screen;
}

void PagePrinter::drawPage(QPainter& painter, const Album& album, const PageRenderOptions& screen) {
    const int dpi = painter.device() ? painter.device()->logicalDpiX() : screen.ppi;
    PageRenderer::drawPlacements(painter, album, printerOptions(screen, dpi));
}

bool PagePrinter::printPages(QPagedPaintDevice& device, const Album& album,
                             const PageRenderOptions& screen, int pageCount) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PageRenderOptions options = screen;
    bool ok = true;
    for (int p = 1; p <= pageCount; ++p) {
        if (p > 1 && !device.newPage()) {
            ok = false;
            break;
        }
        options.page = p;
        drawPage(painter, album, options);
    }
    return painter.end() && ok;
}

}  // namespace pr
