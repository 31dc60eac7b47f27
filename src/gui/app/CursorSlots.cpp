#include "gui/app/CursorSlots.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pr {

CursorSlots::CursorSlots() {
    slots_[0] = QCursor(Qt::ArrowCursor);
    slots_[1] = QCursor(Qt::SizeFDiagCursor);
    slots_[2] = QCursor(Qt::SizeBDiagCursor);
    slots_[3] = QCursor(Qt::SizeBDiagCursor);
    slots_[4] = QCursor(Qt::SizeFDiagCursor);
    slots_[5] = QCursor(Qt::SizeVerCursor);
    slots_[6] = QCursor(Qt::SizeVerCursor);
    slots_[7] = QCursor(Qt::SizeHorCursor);
    slots_[8] = QCursor(Qt::SizeHorCursor);
    slots_[kMove] = makeMoveCursor();
    slots_[kArrow] = QCursor(Qt::ArrowCursor);
}

const QCursor& CursorSlots::at(int slot) const {
    return (slot >= kFirst && slot <= kLast) ? slots_[slot] : slots_[kArrow];
}

QCursor CursorSlots::makeMoveCursor() {
    constexpr int size = 32;
    constexpr qreal c = size / 2.0;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);

    // One arrow pointing up, turned four times around the centre.
    QPainterPath arm;
    arm.moveTo(c, 2);
    arm.lineTo(c + 5, 8);
    arm.lineTo(c + 1.5, 8);
    arm.lineTo(c + 1.5, c);
    arm.lineTo(c - 1.5, c);
    arm.lineTo(c - 1.5, 8);
    arm.lineTo(c - 5, 8);
    arm.closeSubpath();
    QPainterPath cross;
    for (int turn = 0; turn < 4; ++turn) {
        QTransform t;
        t.translate(c, c).rotate(90 * turn).translate(-c, -c);
        cross = cross.united(t.map(arm));
    }

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(cross);
    p.end();
    return QCursor(pixmap, size / 2, size / 2);
}

}  // namespace pr
