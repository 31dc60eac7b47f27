#include "gui/layout/PictureStrip.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include "core/layout/StripGeometry.h"
#include "render/QPainterDibTarget.h"

namespace pr {

PictureStrip::PictureStrip(const Album& album, QScrollArea* box, QWidget* parent)
    : QWidget(parent), album_(album), box_(box) {
    setObjectName(QStringLiteral("PaintBox1"));
    box_->verticalScrollBar()->setSingleStep(kStripScrollStep);
    box_->verticalScrollBar()->setTracking(true);
}

QSize PictureStrip::wantedSize() const {
    return QSize(box_->viewport()->width(), stripHeight(box_->width(), album_.PictureCount()));
}

bool PictureStrip::syncSize() {
    const QSize wanted = wantedSize();
    if (size() == wanted) return false;
    resize(wanted);
    return true;
}

void PictureStrip::PaintBox1Paint() {
    syncSize();
    repaint();
}

void PictureStrip::paintEvent(QPaintEvent*) {
    if (size() != wantedSize()) {
        resize(wantedSize());
        return;
    }
    const int s = box_->viewport()->width();
    const int scrollPos = box_->verticalScrollBar()->value();
    const int clientHeight = box_->viewport()->height();
    QPainter painter(this);
    for (int i = 0; i < album_.PictureCount(); ++i) {
        if (!stripCellVisible(i, s, clientHeight, scrollPos)) continue;
        const int top = stripCellTop(i, s);
        if (i == album_.StripSelection) {
            // A black outline around a blue cell, the outline's right and bottom edges inside.
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(QColor(0, 0, 255));
            painter.drawRect(QRect(0, top, s - 1, s + 1));
        }
        const AlbumImage& picture = album_.Pictures[static_cast<size_t>(i)];
        if (!picture.hasPixels()) continue;
        // The whole picture at the cell's thumbnail size.
        const PixelRect r = stripThumbnailRect(i, s, picture.width(), picture.height());
        const RenditionRequest request{0, 0, picture.width(), picture.height(), r.w, r.h, {}};
        const RenditionCache::Handle shown =
            provider_ ? provider_(picture, request) : PictureRenditions::placed(picture, request);
        if (shown)
            drawRendition(painter, r.x, r.y, *shown.get<Rendition>(), true, {}, displayBits_);
    }
}

}  // namespace pr
