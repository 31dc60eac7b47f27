#include "gui/layout/PageView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>

#include "core/layout/PageUnits.h"
#include "render/QualityWarning.h"

namespace pr {

PageView::PageView(const Album& album, OptionsFn options, SizeFn pageSize, QWidget* parent)
    : QWidget(parent), album_(album), options_(std::move(options)), pageSize_(std::move(pageSize)) {
    setObjectName(QStringLiteral("PaintBox2"));
    // Every paint covers the whole sheet, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PageRenderOptions PageView::currentOptions() const {
    PageRenderOptions options = options_();
    options.selected = album_.SelectedPlacement;
    options.dragging = dragging_;
    options.renditions = provider_;
    // At a large zoom only the part of a picture in the scroll box's window is made.
    options.visible = visibleRegion().boundingRect();
    return options;
}

bool PageView::syncSize() {
    if (album_.AlbumLoading) return false;
    const QSize wanted = pageSize_();
    if (size() == wanted) return false;
    resize(wanted);
    return true;
}

void PageView::PaintBox2Paint() {
    if (album_.AlbumLoading) return;
    syncSize();
    repaint();
}

QRect PageView::selectedFrame(const PageRenderOptions& options) const {
    const int i = album_.SelectedPlacement;
    if (i < 0 || static_cast<uint32_t>(i) >= album_.placementCount()) return {};
    const Placement& p = *album_.placementAt(static_cast<uint32_t>(i));
    if (p.Page != options.page) return {};
    const PixelRect r = frameNearPage(p.Left, p.Top, p.Width, p.Height, options.zoom, options.ppi,
                                      width(), height());
    return QRect(r.x, r.y, r.w, r.h);
}

void PageView::setDragging(bool dragging) {
    dragging_ = dragging;
    dragCache_ = QImage();
    if (dragging) {
        PageRenderOptions options = currentOptions();
        options.selected = -1;
        dragCache_ = QImage(pageSize_(), QImage::Format_RGB32);
        if (!dragCache_.isNull()) {
            QPainter painter(&dragCache_);
            PageRenderer::render(painter, album_, options, dragCache_.size());
        }
    }
}

void PageView::bandMoved(const QRect& before, const QRect& after) {
    // The outline only; a frame of a few hundred pixels then costs a few hundred pixels.
    QRegion region;
    for (const QRect& r : {before, after}) {
        if (r.isNull()) continue;
        const QRect outer = r.adjusted(-1, -1, 1, 1);
        region += QRegion(outer).subtracted(QRegion(r.adjusted(1, 1, -1, -1)));
    }
    if (!region.isEmpty()) update(region);
}

QImage PageView::renderToImage() const {
    QImage image(pageSize_(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    PageRenderOptions options = currentOptions();
    options.renditions = {};
    options.visible = QRect();
    QPainter painter(&image);
    PageRenderer::render(painter, album_, options, image.size());
    return image;
}

bool PageView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    double dpi = 0;
    if (QualityWarning::warnedPlacementAt(album_, currentOptions(), size(), help->pos(),
                                          PictureFactsCache::shared(), dpi) >= 0)
        QToolTip::showText(help->globalPos(), QualityWarning::hintText(dpi), this);
    else
        QToolTip::hideText();
    return true;
}

void PageView::paintEvent(QPaintEvent* event) {
    if (album_.AlbumLoading) return;
    if (size() != pageSize_()) {
        resize(pageSize_());
        return;
    }
    QPainter painter(this);
    const PageRenderOptions options = currentOptions();
    if (dragging_ && !dragCache_.isNull()) {
        // Only the damaged rectangles: a drag step damages two thin outlines, and a whole-page
        // image clipped to such a region costs far more than the few rows of pixels.
        for (const QRect& r : event->region()) painter.drawImage(r, dragCache_, r);
        const QRect frame = selectedFrame(options);
        if (!frame.isNull())
            PageRenderer::markrec(painter, frame.x(), frame.y(), frame.width(), frame.height(), 0,
                                  0, true);
        return;
    }
    PageRenderer::render(painter, album_, options, size());
}

}  // namespace pr
