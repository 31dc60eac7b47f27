#include "gui/browse/ThumbGrid.h"

#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "core/browse/ThumbStatusText.h"
#include "gui/browse/ThumbGridPaintBox.h"
#include "render/QPainterDibTarget.h"

namespace pr {

namespace {
const QColor kFrameLight(255, 255, 255);
const QColor kFrameShadow(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kSelected(0, 0, 255);

QRect fillRect(const ThumbRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
}  // namespace

ThumbGrid::ThumbGrid(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("ScrollBox4"));
    paintBox_ = new ThumbGridPaintBox(*this, this);
    setWidget(paintBox_);
    setWidgetResizable(false);
    // A permanent bar keeps the width, and so the column count, from flipping when the grid grows
    // past one screen.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundRole(QPalette::Dark);
    viewport()->setMouseTracking(true);
    reflow();
}

int ThumbGrid::columns() const {
    return thumbGridColumns(paintBox_->width());
}

QRect ThumbGrid::cellRect(int cell) const {
    const ThumbCellLayout l = thumbCellLayout(cell, columns(), 0, 0);
    return QRect(l.x0, l.y0, kThumbCellWidth, kThumbCellHeight);
}

QString ThumbGrid::statusText() const {
    return QString::fromStdString(thumbStatusText(infos_, selection_));
}

void ThumbGrid::announceStatus() {
    emit statusTextChanged(statusText());
}

void ThumbGrid::reflow() {
    const int width = viewport()->width();
    const int height = thumbGridHeight(count(), thumbGridColumns(width));
    if (paintBox_->size() != QSize(width, height)) paintBox_->resize(width, height);
}

void ThumbGrid::appendCell(ThumbCell cell) {
    infos_.push_back(cell.info);
    cells_.push_back(std::move(cell));
    reflow();
    paintBox_->update(cellRect(count()));
    announceStatus();
}

void ThumbGrid::clear() {
    if (!cells_.empty()) {
        cells_.clear();
        infos_.clear();
        reflow();
        paintBox_->update();
    }
    announceStatus();
}

void ThumbGrid::select(int cell) {
    selection_ = cell;
    scrollSelectionIntoView();
    paintBox_->update();
    announceStatus();
}

void ThumbGrid::scrollSelectionIntoView() {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(thumbScrollPosition(selection_, columns(), bar->value(), viewport()->height()));
}

bool ThumbGrid::handleKey(int key) {
    ThumbKey move;
    switch (key) {
        case Qt::Key_Up:
            move = ThumbKey::Up;
            break;
        case Qt::Key_Down:
            move = ThumbKey::Down;
            break;
        case Qt::Key_Left:
            move = ThumbKey::Left;
            break;
        case Qt::Key_Right:
            move = ThumbKey::Right;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selection_ >= 1 && selection_ <= count()) emit openRequested(selection_);
            return true;
        default:
            return false;
    }
    // Even a key that cannot move the selection scrolls it back into view.
    select(moveThumbSelection(selection_, move, columns(), count()));
    return true;
}

void ThumbGrid::pressAt(const QPoint& point) {
    const int cell = thumbCellAt(point.x(), point.y(), count(), columns());
    if (cell > 0) select(cell);
}

void ThumbGrid::doubleClicked() {
    if (selection_ >= 1 && selection_ <= count()) emit openRequested(selection_);
}

void ThumbGrid::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    reflow();
}

void ThumbGrid::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - notches * kThumbScrollStep);
    event->accept();
}

void ThumbGrid::mousePressEvent(QMouseEvent* event) {
    paintBox_->setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ThumbGrid::mouseMoveEvent(QMouseEvent* event) {
    announceStatus();
    QScrollArea::mouseMoveEvent(event);
}

void ThumbGrid::paintCells(QPainter& painter, const QRect& area) {
    painter.fillRect(area, palette().color(QPalette::Dark));
    const int cols = columns();
    const int firstRow = qMax(0, area.top() / kThumbCellHeight);
    const int lastRow = qMax(0, area.bottom() / kThumbCellHeight);
    const int first = firstRow * cols + 1;
    const int last = qMin(count(), (lastRow + 1) * cols);
    const bool anySelected = selection_ >= 1 && selection_ <= count();
    const PaletteHandle selectedPalette =
        anySelected ? cells_[selection_ - 1].thumbnail.paletteHandle : PaletteHandle();

    for (int n = first; n <= last; ++n) {
        const ThumbCell& cell = cells_[n - 1];
        const ThumbCellLayout l =
            thumbCellLayout(n, cols, cell.thumbnail.width(), cell.thumbnail.height());
        if (!fillRect({l.x0, l.y0, l.x0 + kThumbCellWidth, l.y0 + kThumbCellHeight})
                 .intersects(area))
            continue;
        const ThumbRect& f = l.frame;
        painter.setPen(kFrameLight);
        painter.drawLine(f.left, f.top, f.right, f.top);
        painter.drawLine(f.left, f.bottom, f.left, f.top);
        painter.setPen(kFrameShadow);
        painter.drawLine(f.right, f.top, f.right, f.bottom);
        painter.drawLine(f.right, f.bottom, f.left, f.bottom);

        const bool selected = n == selection_;
        const QColor fill = selected ? kSelected : kSilver;
        for (const ThumbRect& r : l.fills) {
            if (r.right > r.left && r.bottom > r.top) painter.fillRect(fillRect(r), fill);
        }
        if (l.width > 0 && l.height > 0) {
            drawDib(painter, l.picture.left, l.picture.top, l.width, l.height, cell.thumbnail, 0, 0,
                    cell.thumbnail.width(), cell.thumbnail.height(), true, selected,
                    selectedPalette);
        }
        // The caption stops above the frame's bottom line, which a tall desktop font would
        // otherwise reach.
        const QRect caption(QPoint(l.caption.left, l.caption.top),
                            QPoint(l.caption.right - 1, f.bottom - 1));
        painter.save();
        painter.setClipRect(caption);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QFile::decodeName(QByteArray::fromStdString(cell.name)));
        painter.restore();
    }
}

}  // namespace pr
