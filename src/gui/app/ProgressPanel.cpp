#include "gui/app/ProgressPanel.h"

#include <QPainter>
#include <algorithm>

namespace pr {

ProgressPanel::ProgressPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    // Not an opaque widget, although every pixel is painted here: Qt leaves opaque children out
    // when it repaints their parent, and the status bar's repaint is what must wipe an old bar.
}

QSize ProgressPanel::sizeHint() const {
    return QSize(50, QFrame::sizeHint().height());
}

void ProgressPanel::setProStatus(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent < percent_) {
        percent_ = percent;
        QWidget* bar = parentWidget() ? parentWidget() : this;
        bar->repaint();
        return;
    }
    percent_ = percent;
    const QRect r = progressRect_;
    const int navyWidth = r.width() * percent / 100;
    if (navyWidth > 0 && isVisible()) repaint(QRect(r.left(), r.top(), navyWidth, r.height()));
}

void ProgressPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect();
    const int split = r.left() + r.width() * percent_ / 100;
    p.fillRect(QRect(r.left(), r.top(), split - r.left(), r.height()), barColour());
    p.fillRect(QRect(split, r.top(), r.right() + 1 - split, r.height()),
               palette().color(QPalette::Button));
    progressRect_ = r;
}

}  // namespace pr
