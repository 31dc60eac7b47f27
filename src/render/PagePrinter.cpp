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
    screen.visible = QRect();
    screen.deviceSize = QSize();
    screen.renditions = {};
    return screen;
}

void PagePrinter::drawPage(QPainter& painter, const Album& album, const PageRenderOptions& screen) {
    const int dpi = painter.device() ? painter.device()->logicalDpiX() : screen.ppi;
    PageRenderer::drawPlacements(painter, album, printerOptions(screen, dpi));
}

bool PagePrinter::printPages(QPagedPaintDevice& device, const Album& album,
                             const PageRenderOptions& screen, int pageCount) {
    PagePrintRun run(device, album, screen, pageCount);
    if (!run.begin()) return false;
    bool ok = true;
    while (!run.allPrinted()) {
        if (!run.printNextPage()) {
            ok = false;
            break;
        }
    }
    return run.finish() && ok;
}

PagePrintRun::PagePrintRun(QPagedPaintDevice& device, const Album& album,
                           const PageRenderOptions& screen, int pageCount)
    : device_(device), album_(album), options_(screen), pageCount_(pageCount) {}

PagePrintRun::~PagePrintRun() {
    waitForAll();
    if (painter_) finish();
}

void PagePrintRun::waitForAll() {
    for (QFuture<PageRenditions::Handles>& f : ahead_) f.waitForFinished();
    ahead_.clear();
}

void PagePrintRun::prepareAhead() {
    while (prepared_ < pageCount_ && prepared_ < printed_ + 1 + kPagesAhead) {
        PageRenderOptions options = options_;
        options.page = ++prepared_;
        ahead_.push_back(PageRenditions::prepare(album_, options));
    }
}

QFuture<PageRenditions::Handles> PagePrintRun::nextPage() const {
    return ahead_.empty() ? QFuture<PageRenditions::Handles>() : ahead_.front();
}

bool PagePrintRun::begin() {
    painter_ = new QPainter;
    if (!painter_->begin(&device_)) {
        delete painter_;
        painter_ = nullptr;
        return false;
    }
    options_ = PagePrinter::printerOptions(options_, device_.logicalDpiX());
    // The painter draws untransformed, so its page is the device's: the workers' requests then
    // match the drawing's exactly.
    options_.deviceSize = QSize(device_.width(), device_.height());
    prepareAhead();
    return true;
}

bool PagePrintRun::printNextPage() {
    if (!painter_ || allPrinted()) return false;
    const int page = printed_ + 1;
    if (page > 1 && !device_.newPage()) return false;
    // Held (pinned) until this page is drawn.
    PageRenditions::Handles current;
    if (!ahead_.empty()) {
        QFuture<PageRenditions::Handles> f = ahead_.front();
        ahead_.pop_front();
        f.waitForFinished();
        current = f.result();
    }
    printed_ = page;
    prepareAhead();
    PageRenderOptions options = options_;
    options.page = page;
    PageRenderer::drawPlacements(*painter_, album_, options);
    return true;
}

bool PagePrintRun::finish() {
    waitForAll();
    if (!painter_) return false;
    const bool ok = painter_->end();
    delete painter_;
    painter_ = nullptr;
    return ok;
}

}  // namespace pr
