#include "gui/toolkit/WheelNotches.h"

#include <QApplication>
#include <QScrollBar>

namespace pr {

int WheelNotches::pixelsPerNotch(const QScrollBar* bar) {
    return QApplication::wheelScrollLines() * bar->singleStep();
}

void WheelNotches::scroll(QScrollBar* bar, int angleDelta) {
    constexpr int kNotch = 120;
    rest_ += angleDelta;
    const int notches = rest_ / kNotch;
    rest_ -= notches * kNotch;
    if (notches != 0) bar->setValue(bar->value() - notches * pixelsPerNotch(bar));
}

}  // namespace pr
