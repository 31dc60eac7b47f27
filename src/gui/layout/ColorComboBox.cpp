#include "gui/layout/ColorComboBox.h"

#include <QPainter>
#include <QPixmap>

namespace pr {

namespace {

struct NamedColour {
    QRgb rgb;
    const char* name;
};

const NamedColour kColours[] = {
    {qRgb(0, 0, 0), "Schwarz"},      {qRgb(128, 0, 0), "Kastanienbraun"},
    {qRgb(0, 128, 0), "Grün"},       {qRgb(128, 128, 0), "Olivgrün"},
    {qRgb(0, 0, 128), "Marineblau"}, {qRgb(128, 0, 128), "Purpur"},
    {qRgb(0, 128, 128), "Petrol"},   {qRgb(128, 128, 128), "Grau"},
    {qRgb(192, 192, 192), "Silber"}, {qRgb(255, 0, 0), "Rot"},
    {qRgb(0, 255, 0), "Hellgrün"},   {qRgb(255, 255, 0), "Gelb"},
    {qRgb(0, 0, 255), "Blau"},       {qRgb(255, 0, 255), "Pink"},
    {qRgb(0, 255, 255), "Türkis"},   {qRgb(255, 255, 255), "Weiß"},
};

}  // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent) {
    for (const NamedColour& c : kColours) addColour(QColor(c.rgb), QString::fromUtf8(c.name));
    setColor(Qt::white);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int) { emit colorChanged(color()); });
}

void ColorComboBox::addColour(const QColor& colour, const QString& name) {
    QPixmap swatch(16, 12);
    swatch.fill(colour);
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    addItem(QIcon(swatch), name, colour);
}

QColor ColorComboBox::color() const {
    return currentData().value<QColor>();
}

void ColorComboBox::setColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).value<QColor>().rgb() == rgb.rgb()) {
            setCurrentIndex(i);
            return;
        }
    }
    addColour(rgb, rgb.name(QColor::HexRgb).toUpper());
    setCurrentIndex(count() - 1);
}

}  // namespace pr
