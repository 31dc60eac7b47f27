#pragma once
// PagePrinter: the album's pages 1..n on a paged device (a QPrinter or a QPdfWriter), each drawn by
// PageRenderer as the page view draws it, only at the device's resolution and zoom 100. So the
// paper shows what the screen shows: same fitting, same captions, same order of the placements.
//
// The device's horizontal resolution is used for both axes, like everywhere in the page layout;
// the painter's origin is the top-left corner of the printable area, which is where page inches
// start. Paper is white already, so no sheet is painted; grid and selection never reach paper.
//
// Pages go out one at a time. While a page is drawn, the renditions of the next pages are made on
// worker threads (PageRenditions.h), so the decoding never waits for the device and only a few
// pages of pictures are held at once, each at the device pixels it covers on paper.

#include <QFuture>
#include <deque>
#include <functional>

#include "render/PageRenderer.h"
#include "render/PageRenditions.h"

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
    // be opened or refused a new page; what was drawn until then is ended properly. The album
    // must not change meanwhile.
    static bool printPages(QPagedPaintDevice& device, const Album& album,
                           const PageRenderOptions& screen, int pageCount);
};

// The same, one page per call, for a caller that returns to its event loop between pages (the
// window: it stays usable and can stop between two pages).
class PagePrintRun {
public:
    // `album` must stay unchanged until the run is finished (pass a copy).
    PagePrintRun(QPagedPaintDevice& device, const Album& album, const PageRenderOptions& screen,
                 int pageCount);
    ~PagePrintRun();
    PagePrintRun(const PagePrintRun&) = delete;
    PagePrintRun& operator=(const PagePrintRun&) = delete;

    // Pages whose renditions are made ahead of the page being drawn.
    static constexpr int kPagesAhead = 2;

    // Opens the painter and starts on the first pages' renditions. False when the device cannot
    // open.
    bool begin();
    // The renditions of the next page, being made (finished: printNextPage() will not wait).
    QFuture<PageRenditions::Handles> nextPage() const;
    // Draws the next page (waiting for its renditions if need be) after starting on the one
    // after it. False when the device refused a new sheet.
    bool printNextPage();
    bool allPrinted() const { return printed_ >= pageCount_; }
    int pagesPrinted() const { return printed_; }
    int pageCount() const { return pageCount_; }
    // Ends the document (also after a stop between pages). False when the device failed.
    bool finish();

private:
    QPagedPaintDevice& device_;
    const Album& album_;
    PageRenderOptions options_;
    int pageCount_;
    int printed_ = 0;
    QPainter* painter_ = nullptr;
    int prepared_ = 0;  // pages whose renditions were asked for
    std::deque<QFuture<PageRenditions::Handles>> ahead_;

    void prepareAhead();
    void waitForAll();
};

}  // namespace pr
