#include "gui/app/ImageButtonPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace pr {

namespace {

using Emblem = std::function<void(QPainter&, const QRectF&)>;

QPixmap drawButton(bool pressed, const QColor& base, const QString& caption, const Emblem& emblem) {
    const QSize s = ImageButtonPictures::size();
    QPixmap pixmap(s);
    pixmap.fill(QColor(240, 240, 240));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF body(0.5, 0.5, s.width() - 1.0, s.height() - 1.0);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    const QColor top = pressed ? base.darker(125) : base.lighter(135);
    const QColor bottom = pressed ? base.darker(105) : base;
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(base.darker(170), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, 5, 5);

    // Light from the top left: a raised button has its highlight there, a pressed one its shadow.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pressed ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 150), 1.0));
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 4, 4);

    const qreal shift = pressed ? 1.0 : 0.0;
    const QRectF emblemRect(7 + shift, 5 + shift, 20, 20);
    emblem(p, emblemRect);

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(30 + shift, shift, s.width() - 36, s.height()), Qt::AlignCenter, caption);
    p.end();
    return pixmap;
}

}  // namespace

QPixmap ImageButtonPictures::about(bool pressed) {
    return drawButton(pressed, QColor(40, 100, 170), QStringLiteral("Info"),
                      [](QPainter& p, const QRectF& r) {
                          p.setPen(QPen(Qt::white, 1.5));
                          p.setBrush(QColor(20, 70, 140));
                          p.drawEllipse(r.adjusted(1, 1, -1, -1));
                          p.setPen(Qt::NoPen);
                          p.setBrush(Qt::white);
                          p.drawEllipse(QPointF(r.center().x(), r.top() + 6), 1.6, 1.6);
                          p.drawRoundedRect(QRectF(r.center().x() - 1.5, r.top() + 9, 3, 7), 1, 1);
                      });
}

QPixmap ImageButtonPictures::exit(bool pressed) {
    return drawButton(pressed, QColor(175, 60, 45), QStringLiteral("Beenden"),
                      [](QPainter& p, const QRectF& r) {
                          p.setPen(QPen(Qt::white, 1.5));
                          p.setBrush(QColor(110, 40, 30));
                          p.drawRect(r.adjusted(2, 1, -8, -1));
                          QPainterPath arrow;
                          const qreal y = r.center().y();
                          arrow.moveTo(r.left() + 7, y - 1.5);
                          arrow.lineTo(r.right() - 5, y - 1.5);
                          arrow.lineTo(r.right() - 5, y - 5);
                          arrow.lineTo(r.right(), y);
                          arrow.lineTo(r.right() - 5, y + 5);
                          arrow.lineTo(r.right() - 5, y + 1.5);
                          arrow.lineTo(r.left() + 7, y + 1.5);
                          arrow.closeSubpath();
                          p.setPen(Qt::NoPen);
                          p.setBrush(Qt::white);
                          p.drawPath(arrow);
                      });
}

}  // namespace pr
