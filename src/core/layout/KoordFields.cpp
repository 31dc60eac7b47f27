#include "core/layout/KoordFields.h"

#include "core/layout/PageUnits.h"

namespace pr {

KoordFields::KoordFields() {
    for (double& v : v_) v = kInitial;
}

KoordFields::Field KoordFields::set(Field f, double value) {
    v_[f] = value;
    switch (f) {
        case Left:
        case Right:
            v_[Width] = v_[Right] - v_[Left];
            return Width;
        case Top:
        case Bottom:
            v_[Height] = v_[Bottom] - v_[Top];
            return Height;
        case Width:
            v_[Right] = v_[Left] + v_[Width];
            return Right;
        case Height:
        default:
            v_[Bottom] = v_[Top] + v_[Height];
            return Bottom;
    }
}

void KoordFields::fill(const Placement& p) {
    source_ = p;
    set(Left, inchesToMm(p.Left));
    set(Top, inchesToMm(p.Top));
    set(Width, inchesToMm(p.Width));
    set(Height, inchesToMm(p.Height));
}

bool KoordFields::valid() const {
    return v_[Left] < v_[Right] && v_[Top] < v_[Bottom];
}

void KoordFields::apply(Placement& p) const {
    // millimetres -> inches -> millimetres need not give the same bits back; a value the user
    // left alone keeps the inches it came from.
    auto back = [](double mm, double sourceInches) {
        return mm == inchesToMm(sourceInches) ? sourceInches : mmToInches(mm);
    };
    p.Left = back(v_[Left], source_.Left);
    p.Top = back(v_[Top], source_.Top);
    p.Width = back(v_[Width], source_.Width);
    p.Height = back(v_[Height], source_.Height);
}

}  // namespace pr
