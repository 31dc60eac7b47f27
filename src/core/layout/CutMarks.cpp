#include "core/layout/CutMarks.h"

#include "core/layout/PageUnits.h"

namespace pr {

std::array<MarkLine, 8> cutMarkLines(double left, double top, double width, double height,
                                     double gapMm, double lengthMm) {
    const double gap = mmToInches(gapMm), far = mmToInches(gapMm + lengthMm);
    const double right = left + width, bottom = top + height;
    return {{
        {left - far, top, left - gap, top},    // top-left, across
        {left, top - far, left, top - gap},    // top-left, down
        {right + gap, top, right + far, top},  // top-right
        {right, top - far, right, top - gap},
        {left - far, bottom, left - gap, bottom},  // bottom-left
        {left, bottom + gap, left, bottom + far},
        {right + gap, bottom, right + far, bottom},  // bottom-right
        {right, bottom + gap, right, bottom + far},
    }};
}

}  // namespace pr
