#pragma once
// The decorative panel: "Ergebnis" over "drucken..." on a warm gradient, like the picture panel
// of the order tab.

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace pr {

class ResultPanel : public QWidget {
public:
    explicit ResultPanel(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("ResultPanel"));
        setFixedSize(150, 76);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, width(), height());
        fill.setColorAt(0, QColor(240, 201, 166));
        fill.setColorAt(1, QColor(200, 130, 80));
        p.setPen(QPen(QColor(150, 90, 50), 1));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        QFont font = p.font();
        font.setBold(true);
        font.setItalic(true);
        font.setPixelSize(22);
        p.setFont(font);
        p.setPen(Qt::white);
        const QRect upper(0, 4, width(), height() / 2 - 2);
        const QRect lower(0, height() / 2 - 2, width(), height() / 2 - 2);
        p.drawText(upper, Qt::AlignCenter, QStringLiteral("Ergebnis"));
        p.drawText(lower, Qt::AlignCenter, QStringLiteral("drucken..."));
    }
};

}  // namespace pr
