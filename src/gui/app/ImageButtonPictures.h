#pragma once
// The two picture pairs of the bottom bar, drawn at start: "about" (an "i" in a blue disc, "Info")
// and "exit" (an arrow leaving a door, "Beenden"). Each pair has one size; the pressed picture is
// darker, sunken and its content moved one pixel down and right, as a pressed button looks.

#include <QPixmap>

namespace pr {

class ImageButtonPictures {
public:
    static QSize size() { return QSize(104, 30); }

    static QPixmap about(bool pressed);
    static QPixmap exit(bool pressed);
};

}  // namespace pr
