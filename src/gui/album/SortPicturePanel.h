#pragma once
// The decorative panel: a title over a fanned stack of picture frames.

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pr {

class SortPicturePanel : public QFrame {
public:
    explicit SortPicturePanel(QWidget* parent) : QFrame(parent) {
        setObjectName(QStringLiteral("SortPicturePanel"));
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        // At least 170 pixels, and always as wide as its title needs in the desktop's font.
        setMinimumWidth(170);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        auto* title = new QLabel(QStringLiteral("Bilder sortieren..."), this);
        QFont bold = title->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        title->setFont(bold);
        title->setAlignment(Qt::AlignHCenter);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(title);
        layout->addStretch(1);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(width() / 2.0, height() / 2.0 + 20);
        const QColor fills[] = {QColor(240, 201, 166), QColor(166, 201, 240),
                                QColor(201, 240, 166)};
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(centre + QPointF((i - 1) * 14, (i - 1) * 10));
            p.rotate((i - 1) * 9);
            p.setPen(QPen(Qt::darkGray, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(-40, -30, 80, 60));
            p.setBrush(fills[i]);
            p.drawRect(QRectF(-34, -24, 68, 42));
            p.restore();
        }
    }
};

}  // namespace pr
