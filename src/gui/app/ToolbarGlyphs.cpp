#include "gui/app/ToolbarGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace pr {

namespace {

// Drawn in a 20 x 20 design grid and at twice the size for high-density screens.
QIcon drawIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(ToolbarGlyphs::kSize * scale, ToolbarGlyphs::kSize * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void drawDisk(QPainter& p) {
    const QColor outline(30, 50, 90);
    p.setPen(QPen(outline, 1.0));
    p.setBrush(QColor(60, 100, 170));
    QPainterPath body;
    body.moveTo(2.5, 2.5);
    body.lineTo(15.5, 2.5);
    body.lineTo(17.5, 4.5);
    body.lineTo(17.5, 17.5);
    body.lineTo(2.5, 17.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(235, 240, 248));
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(60, 100, 170));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(11.5, 3.5, 2, 4));
    p.setPen(QPen(outline, 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 11.5, 11, 6));
}

// A band that comes from the lower left, turns back over the right and ends in a head pointing
// left at the top: "back". Drawn as one outlined shape, like the other glyphs.
void drawTurningArrow(QPainter& p) {
    QPainterPath band;
    band.moveTo(5.0, 16.0);
    band.lineTo(11.0, 16.0);
    band.arcTo(QRectF(5.5, 5.0, 11.0, 11.0), -90, 180);
    band.lineTo(8.0, 5.0);
    QPainterPathStroker stroker;
    stroker.setWidth(3.0);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath shape = stroker.createStroke(band);
    QPainterPath head;
    head.moveTo(2.0, 5.0);
    head.lineTo(8.5, 0.5);
    head.lineTo(8.5, 9.5);
    head.closeSubpath();
    shape = shape.united(head).simplified();
    p.setPen(QPen(QColor(30, 90, 40), 1.0));
    p.setBrush(QColor(70, 160, 80));
    p.drawPath(shape);
}

}  // namespace

QIcon ToolbarGlyphs::undo() {
    return drawIcon([](QPainter& p) { drawTurningArrow(p); });
}

QIcon ToolbarGlyphs::redo() {
    return drawIcon([](QPainter& p) {
        p.translate(kSize, 0);
        p.scale(-1, 1);
        drawTurningArrow(p);
    });
}

QIcon ToolbarGlyphs::newAlbum() {
    return drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 1.0));
        p.setBrush(Qt::white);
        QPainterPath sheet;
        sheet.moveTo(4.5, 1.5);
        sheet.lineTo(12.5, 1.5);
        sheet.lineTo(16.5, 5.5);
        sheet.lineTo(16.5, 18.5);
        sheet.lineTo(4.5, 18.5);
        sheet.closeSubpath();
        p.drawPath(sheet);
        p.setBrush(QColor(220, 220, 220));
        QPainterPath corner;
        corner.moveTo(12.5, 1.5);
        corner.lineTo(12.5, 5.5);
        corner.lineTo(16.5, 5.5);
        corner.closeSubpath();
        p.drawPath(corner);
        // A small landscape on the sheet: it is a photo page.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 200, 240));
        p.drawRect(QRectF(6.5, 8, 8, 7));
        p.setBrush(QColor(90, 160, 80));
        p.drawEllipse(QRectF(5.5, 12, 10, 6));
        p.setBrush(QColor(250, 200, 60));
        p.drawEllipse(QPointF(12.5, 10), 1.3, 1.3);
    });
}

QIcon ToolbarGlyphs::open() {
    return drawIcon([](QPainter& p) {
        const QColor outline(140, 100, 20);
        p.setPen(QPen(outline, 1.0));
        p.setBrush(QColor(230, 185, 80));
        QPainterPath back;
        back.moveTo(1.5, 4.5);
        back.lineTo(7.5, 4.5);
        back.lineTo(9.5, 6.5);
        back.lineTo(16.5, 6.5);
        back.lineTo(16.5, 16.5);
        back.lineTo(1.5, 16.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 215, 120));
        QPainterPath flap;
        flap.moveTo(4.5, 9.5);
        flap.lineTo(19.0, 9.5);
        flap.lineTo(16.5, 16.5);
        flap.lineTo(1.5, 16.5);
        flap.closeSubpath();
        p.drawPath(flap);
    });
}

QIcon ToolbarGlyphs::save() {
    return drawIcon([](QPainter& p) { drawDisk(p); });
}

QIcon ToolbarGlyphs::saveAs() {
    return drawIcon([](QPainter& p) {
        drawDisk(p);
        p.setPen(QPen(QColor(60, 40, 10), 1.0));
        p.setBrush(QColor(240, 170, 40));
        QPainterPath pen;
        pen.moveTo(18.5, 9.0);
        pen.lineTo(20.0, 10.5);
        pen.lineTo(12.5, 18.0);
        pen.lineTo(10.5, 18.5);
        pen.lineTo(11.0, 16.5);
        pen.closeSubpath();
        p.drawPath(pen);
    });
}

}  // namespace pr
