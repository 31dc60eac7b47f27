#pragma once
// The six linked millimetre fields of the position-and-size dialog: left, top, right, bottom,
// width and height. Editing an edge keeps the opposite edge and changes the size; editing a size
// keeps the left or top edge and moves the right or bottom one. Each edit updates exactly one
// other field, so an update never sets off a chain of further updates.
//
// The values are kept exactly as computed from the placement; the dialog's edits show them
// rounded. A dialog closed with OK without touching a field therefore gives the placement back
// unchanged, not moved to the displayed hundredths.

#include "core/album/Placement.h"

namespace pr {

class KoordFields {
public:
    enum Field { Left = 0, Top, Right, Bottom, Width, Height, FieldCount };

    KoordFields();

    double value(Field f) const { return v_[f]; }
    // Sets `f` and returns the one field that followed (Width for Left/Right, Height for
    // Top/Bottom, Right for Width, Bottom for Height).
    Field set(Field f, double value);

    // Left, top, width and height from the placement in millimetres; right and bottom follow.
    void fill(const Placement& placement);
    // OK is allowed only with left < right and top < bottom.
    bool valid() const;
    // Position and size back in inches; no grid alignment.
    void apply(Placement& placement) const;

    static constexpr double kInitial = 17.5;

private:
    double v_[FieldCount];
    Placement source_{};  // what fill() read, to give back untouched values exactly
};

}  // namespace pr
