#pragma once
// The picture pairs of the output tab's two image buttons, drawn at start in the style of the
// bottom bar's buttons: "Go!" beside a printer (print every page) and a printer with a sheet
// ("Einrichten", printer setup). The pressed picture of each pair is darker and sunken, its
// content moved one pixel down and right.

#include <QPixmap>

namespace pr {

class OutputButtonPictures {
public:
    static QSize goSize() { return QSize(112, 44); }
    static QSize setupSize() { return QSize(112, 30); }

    static QPixmap go(bool pressed);
    static QPixmap setup(bool pressed);
};

}  // namespace pr
