#pragma once
// The program's icon: a photo with sky, hill and sun on a card, tilted on a warm tile. It is drawn
// here rather than shipped as pictures: the window takes it at every size it asks for, and the
// build renders the PNG files of the desktop's icon theme from it (tools/make_icons.cpp).
// data/pixo-rahmler.svg is the same drawing on the same 256 x 256 grid, for the theme's scalable
// size; a change here belongs there too.

#include <QIcon>
#include <QImage>

namespace pr {

class ProgramIcon {
public:
    // The sizes of the icon theme's folders (16x16 ... 256x256).
    static const int kThemeSizes[8];

    // The icon as a square picture of `size` pixels, transparent around the tile.
    static QImage render(int size);
    // All theme sizes, for the window.
    static QIcon icon();
};

}  // namespace pr
