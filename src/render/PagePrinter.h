#pragma once
// PagePrinter: the album's pages 1..n on a paged device (a QPrinter or a QPdfWriter), each drawn by
// PageRenderer as the page view draws it, only at the device's resolution and zoom 100. So the
// paper shows what the screen shows: same fitting, same captions, same order of the placements.
//
// The device's horizontal resolution is used for both axes, like everywhere in the page layout;
// the painter's origin is the top-left corner of the printable area, which is where page inches
// start. Paper is white already, so no sheet is painted; grid and selection never reach paper.

#include "render/PageRenderer.h"

class QPagedPaintDevice;
class QPainter;

namespace pr {

class PagePrinter {
public:
    // The page view's settings as a printer needs them: zoom 100, `dpi`, no grid, no selection.
    static PageRenderOptions printerOptions(PageRenderOptions screen, int dpi);

    // One page (screen.page) on a painter that is already open on a printer-like device, at the
    // device's horizontal resolution for both axes.
    static void drawPage(QPainter& painter, const Album& album, const PageRenderOptions& screen);

    // Opens a painter on `device` (which starts the document), draws pages 1..pageCount with a new
    // sheet between two pages, and ends the document. A page without placements is an empty
    // sheet; placements on pages above pageCount are not drawn. False when the device could not
    // be opened or refused a new page; what was drawn until then is ended properly.
    static bool printPages(QPagedPaintDevice& device, const Album& album,
                           const PageRenderOptions& screen, int pageCount);
};

}  // namespace pr
