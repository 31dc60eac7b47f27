#pragma once
// The ten screen cursors that the page editor picks by drag mode: 1..4 the diagonal sizing
// cursors of the four corners, 5/6 vertical sizing (top, bottom edge), 7/8 horizontal sizing
// (left, right edge), 9 the program's own "move" cursor, 10 the plain arrow.

#include <QCursor>
#include <array>

namespace pr {

class CursorSlots {
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 10;
    static constexpr int kMove = 9;
    static constexpr int kArrow = 10;

    CursorSlots();

    // A slot outside 1..10 gives the arrow, so a stray drag mode never leaves a wrong cursor up.
    const QCursor& at(int slot) const;

    // The drawn "move" cursor: a four-headed arrow, black with a white rim so that it shows on
    // dark and light pictures alike; the hot spot is its centre.
    static QCursor makeMoveCursor();

private:
    std::array<QCursor, kLast + 1> slots_;
};

}  // namespace pr
