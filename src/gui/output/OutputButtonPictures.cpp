#include "gui/output/OutputButtonPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pr {

namespace {

void drawBody(QPainter& p, QSize s, bool pressed, const QColor& base) {
    const QRectF body(0.5, 0.5, s.width() - 1.0, s.height() - 1.0);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, pressed ? base.darker(125) : base.lighter(135));
    fill.setColorAt(1, pressed ? base.darker(105) : base);
    p.setPen(QPen(base.darker(170), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, 6, 6);
    // Light from the top left: highlight on a raised button, shadow on a pressed one.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pressed ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 150), 1.0));
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 5, 5);
}

// A small printer: body, paper coming out at the top, the output slot.
void drawPrinter(QPainter& p, const QRectF& r) {
    const qreal w = r.width(), h = r.height();
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + w * 0.25, r.top(), w * 0.5, h * 0.45));
    p.setBrush(QColor(90, 90, 95));
    p.drawRoundedRect(QRectF(r.left(), r.top() + h * 0.35, w, h * 0.45), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + w * 0.2, r.top() + h * 0.7, w * 0.6, h * 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 230, 120));
    p.drawEllipse(QPointF(r.right() - w * 0.15, r.top() + h * 0.5), 1.5, 1.5);
}

QPixmap drawPair(QSize s, bool pressed, const QColor& base, const QString& caption,
                 int captionPixels, qreal printerSide) {
    QPixmap pixmap(s);
    pixmap.fill(QColor(240, 240, 240));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBody(p, s, pressed, base);
    const qreal shift = pressed ? 1.0 : 0.0;
    const qreal top = (s.height() - printerSide) / 2;
    drawPrinter(p, QRectF(8 + shift, top + shift, printerSide, printerSide));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(captionPixels);
    p.setFont(font);
    p.setPen(Qt::white);
    const qreal textLeft = 12 + printerSide;
    p.drawText(QRectF(textLeft + shift, shift, s.width() - textLeft - 4, s.height()),
               Qt::AlignCenter, caption);
    p.end();
    return pixmap;
}

}  // namespace

QPixmap OutputButtonPictures::go(bool pressed) {
    return drawPair(goSize(), pressed, QColor(30, 140, 60), QStringLiteral("Go!"), 22, 28);
}

QPixmap OutputButtonPictures::setup(bool pressed) {
    return drawPair(setupSize(), pressed, QColor(110, 110, 130), QStringLiteral("Einrichten"), 12,
                    20);
}

}  // namespace pr
