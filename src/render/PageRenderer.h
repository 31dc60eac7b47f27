#pragma once
// PageRenderer: the one routine that draws a page. The page view, page printing, the print
// preview and page export all call it, so a page never looks different in two places.
//
// Everything is drawn in device pixels of the painter, from the placements' inches, the zoom and
// the device's pixels per inch: the screen passes the zoom of the page view and its horizontal
// logical dpi, a printer passes zoom 100 and its horizontal resolution. Settings arrive as values
// copied from the layout tab's controls; the renderer keeps no state between calls.
//
// Drawing order on the page: white sheet, grid dots, then the placements of the page in array
// order (the last in front), each picture fitted or cropped into its frame, its caption at the
// foot of the drawn picture, and the selection frame right after the selected placement, so a
// placement later in the array may cover it.
//
// Pictures: the fitting works on each picture's full size; what is drawn is a rendition of the
// fitted source rectangle at exactly the destination's device pixels (PictureRenditions.h), drawn
// unscaled. The renditions of a page stay pinned in the cache until the page is drawn.

#include <QColor>
#include <QFont>
#include <QSize>

#include <QRect>
#include <functional>
#include <vector>

#include "core/album/Album.h"
#include "core/album/PictureRenditions.h"
#include "core/imaging/DrawDib.h"

class QPainter;

namespace pr {

// Where the renderer gets a placement's rendition. Empty: PictureRenditions::placed, which makes
// a missing one at once (printing, export). The window's views pass one that shows a stand-in
// and has the real one made by a worker.
using RenditionProvider = std::function<RenditionCache::Handle(const AlbumImage& picture,
                                                               const RenditionRequest& request)>;

struct PageRenderOptions {
    int zoom = 100;  // percent
    int ppi = 96;    // device pixels per inch, horizontal; used for both axes
    int page = 1;    // placements of other pages are not drawn

    bool keepAspect = true;      // SverhCheck
    bool showFileNames = false;  // ShowFNames: file name as caption when there is no text
    bool transparentCaptions = false;
    QColor captionBackground = Qt::white;
    QFont captionFont = defaultCaptionFont();  // its point size sets the caption height
    QColor captionColour = Qt::black;

    bool showGrid = false;
    double gridMm = 5;
    double pageWidthMm = 0;  // printable page in millimetres, for the grid
    double pageHeightMm = 0;

    // Cut marks around every frame (printing, preview and export; the page editor never sets it).
    bool cutMarks = false;

    // Placements printing below this many dots per inch get a warning triangle; 0 draws none.
    // Only the page editor sets it: printing, the preview and export never show the warning.
    double minimumDpi = 0;

    int selected = -1;      // index into the placements; -1 draws no selection frame
    bool dragging = false;  // the selection frame as inverting rubber band without handles

    int displayBitsPerPixel = 0;  // 0: the screen's depth (see QPainterDibTarget)
    DrawMessageFn messages;       // texts of DrawDib's last fallback

    RenditionProvider renditions;
    // The part of the device that will be seen (device pixels); empty: all of it. A picture
    // larger than kWholeDestinationPixels is then made only where it can be seen.
    QRect visible;
    static constexpr int64_t kWholeDestinationPixels = int64_t{4096} * 4096;
    // The device's page in the painter's coordinates, which frames are kept near; empty: taken
    // from the painter when drawing (work without a painter then assumes a very large page).
    QSize deviceSize;

    static QFont defaultCaptionFont();
};

// One picture of a page as it is drawn: the placement, its frame and what it asks of its picture.
struct PagePicture {
    uint32_t index = 0;  // in the placement array
    int x = 0, y = 0;    // where the destination's top-left pixel goes (device pixels)
    const AlbumImage* picture = nullptr;
    RenditionRequest request;
};

class PageRenderer {
public:
    // The whole page view: sheet of `sheet` pixels, grid and placements.
    static void render(QPainter& painter, const Album& album, const PageRenderOptions& options,
                       QSize sheet);

    static void drawSheet(QPainter& painter, QSize sheet);
    static void drawGrid(QPainter& painter, const PageRenderOptions& options);
    // The placements of options.page with captions and the selection frame; what printing uses.
    static void drawPlacements(QPainter& painter, const Album& album,
                               const PageRenderOptions& options);

    // The pictures drawPlacements draws, in drawing order (placements of the page whose picture
    // has pixels and whose destination is not empty).
    static std::vector<PagePicture> pagePictures(const Album& album,
                                                 const PageRenderOptions& options);

    // The selection frame of the rectangle x, y, w, h shifted by (-ox, -oy): with `dragging` an
    // inverting outline (drawing it twice restores the pixels; raster devices only) and no
    // handles; otherwise a black outline and eight black 6 x 6 handles. The outline covers
    // x .. x + w - 1 and y .. y + h - 1; handle squares are centred on the handle points.
    static void markrec(QPainter& painter, int x, int y, int w, int h, int ox, int oy,
                        bool dragging);

    // Pixel size of the caption font: trunc(zoom x ppi x points / 100 / 72), at least 1.
    static int captionPixelSize(const QFont& font, int zoom, int ppi);

    // The caption of a placement's picture: its comment with its fields filled in
    // (CaptionFields.h), else (with showFileNames) the file name without folder; empty when
    // nothing is to be shown.
    static std::string captionText(const Album& album, int32_t key, bool showFileNames);
};

}  // namespace pr
