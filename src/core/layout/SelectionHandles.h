#pragma once
// The eight handles of the selection frame (drawn idle, hit-tested by the placement editor), in
// the order that decides which handle wins when they overlap on a tiny frame.

#include <array>

namespace pr {

struct HandlePoint {
    int x = 0, y = 0;
    bool operator==(const HandlePoint& o) const { return x == o.x && y == o.y; }
};

constexpr int kHandleHalf = 3;  // a handle is the square (cx - 3, cy - 3) .. (cx + 3, cy + 3)

// Top-left, top-right, bottom-left, bottom-right, top middle, bottom middle, left middle, right
// middle of the frame x, y, w, h; halving truncates toward zero.
inline std::array<HandlePoint, 8> selectionHandles(int x, int y, int w, int h) {
    return {{{x, y},
             {x + w, y},
             {x, y + h},
             {x + w, y + h},
             {x + w / 2, y},
             {x + w / 2, y + h},
             {x, y + h / 2},
             {x + w, y + h / 2}}};
}

}  // namespace pr
