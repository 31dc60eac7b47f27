#pragma once
// WheelNotches: the mouse wheel on the page and the print preview, the way the desktop sets it.
// One notch (an angle of 120) scrolls by the desktop's lines per notch
// (QApplication::wheelScrollLines) of the scroll bar's line step; a touchpad delivers parts of a
// notch, which are summed up until they make whole ones.

class QScrollBar;

namespace pr {

class WheelNotches {
public:
    // Moves `bar` by the whole notches in `angleDelta` and what was left over before (positive:
    // up).
    void scroll(QScrollBar* bar, int angleDelta);

    static int pixelsPerNotch(const QScrollBar* bar);

private:
    int rest_ = 0;
};

}  // namespace pr
