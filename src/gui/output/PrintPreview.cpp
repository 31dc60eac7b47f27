#include "gui/output/PrintPreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace pr {

PrintPreview::PrintPreview(const Album& album, OptionsFn options, PageFn printerPage,
                           QScrollArea* scrollBox)
    : QWidget(scrollBox),
      album_(album),
      options_(std::move(options)),
      printerPage_(std::move(printerPage)),
      scrollBox_(scrollBox) {
    setObjectName(QStringLiteral("PaintBox3"));
    setToolTip(QStringLiteral("1:1 Vorschau des Ausdrucks"));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (scrollBox_) scrollBox_->setWidget(this);
    syncSize();
}

QSize PrintPreview::sheetSize(const PrinterPage& page, int screenDpiX, int screenDpiY) {
    if (page.ppiX <= 0 || page.ppiY <= 0) return QSize();
    return QSize(static_cast<int>(int64_t{page.printableWidthPx} * screenDpiX / page.ppiX),
                 static_cast<int>(int64_t{page.printableHeightPx} * screenDpiY / page.ppiY));
}

int PrintPreview::pannedPosition(int position, int grab, int mouse, int maximum) {
    return std::clamp(position + grab - mouse, 0, std::max(0, maximum));
}

int PrintPreview::screenDpiX() const {
    return dpiX_ > 0 ? dpiX_ : logicalDpiX();
}

int PrintPreview::screenDpiY() const {
    return dpiY_ > 0 ? dpiY_ : logicalDpiY();
}

QSize PrintPreview::wantedSize() const {
    return sheetSize(printerPage_(), screenDpiX(), screenDpiY());
}

bool PrintPreview::syncSize() {
    if (album_.AlbumLoading) return false;
    const QSize wanted = wantedSize();
    if (wanted.isEmpty() || size() == wanted) return false;
    resize(wanted);
    return true;
}

void PrintPreview::PaintBox3Paint() {
    if (album_.AlbumLoading) return;
    syncSize();
    if (isVisible()) repaint();
}

void PrintPreview::render(QPainter& painter, QSize sheet) const {
    PageRenderOptions options = options_();
    options.zoom = 100;
    options.ppi = screenDpiX();
    options.showGrid = false;
    options.selected = -1;
    options.dragging = false;
    const PrinterPage page = printerPage_();
    PageRenderer::drawSheet(painter, sheet);
    // Vertical inches on paper are printer rows div py, while the renderer steps rows with px:
    // stretch by (sy / py) / (sx / px), which is exactly 1 for the usual equal resolutions.
    if (page.ppiX > 0 && page.ppiY > 0 && options.ppi > 0) {
        const double stretch = (static_cast<double>(screenDpiY()) / page.ppiY) /
                               (static_cast<double>(options.ppi) / page.ppiX);
        if (stretch != 1.0) painter.scale(1.0, stretch);
    }
    PageRenderer::drawPlacements(painter, album_, options);
}

QImage PrintPreview::renderToImage() const {
    QImage image(wantedSize(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter painter(&image);
    render(painter, image.size());
    return image;
}

void PrintPreview::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (album_.AlbumLoading) {
        // Keep showing the page as it was until the album is complete.
        if (!lastPage_.isNull()) painter.drawImage(event->rect(), lastPage_, event->rect());
        return;
    }
    if (syncSize()) return;
    const QRect area = event->rect();
    if (lastPage_.size() != size()) lastPage_ = QImage(size(), QImage::Format_RGB32);
    if (lastPage_.isNull()) {
        painter.setClipRect(area);
        render(painter, size());
        return;
    }
    {
        QPainter cache(&lastPage_);
        cache.setClipRect(area);
        render(cache, size());
    }
    painter.drawImage(area, lastPage_, area);
}

void PrintPreview::mousePressEvent(QMouseEvent* event) {
    DragPanning = true;
    GrabX = event->position().toPoint().x();
    GrabY = event->position().toPoint().y();
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event) {
    if (!DragPanning || !scrollBox_) return;
    QScrollBar* h = scrollBox_->horizontalScrollBar();
    QScrollBar* v = scrollBox_->verticalScrollBar();
    const QPoint at = event->position().toPoint();
    const int hv = pannedPosition(h->value(), GrabX, at.x(), h->maximum());
    const int vv = pannedPosition(v->value(), GrabY, at.y(), v->maximum());
    h->setValue(hv);
    v->setValue(vv);
}

void PrintPreview::mouseReleaseEvent(QMouseEvent*) {
    DragPanning = false;
}

}  // namespace pr
