#include "core/layout/PlacementDrag.h"

#include "core/layout/SelectionHandles.h"
#include "core/layout/SnapToGrid.h"

namespace pr {

DragState setdragmod(const PixelRect* frame, int x, int y) {
    DragState s;
    if (!frame) return s;
    const auto handles = selectionHandles(frame->x, frame->y, frame->w, frame->h);
    for (int i = 0; i < 8; ++i) {
        const HandlePoint c = handles[static_cast<size_t>(i)];
        if (x < c.x - kHandleHalf || x > c.x + kHandleHalf || y < c.y - kHandleHalf ||
            y > c.y + kHandleHalf)
            continue;
        s.mode = i + 1;
        if (s.mode != kDragTop && s.mode != kDragBottom) s.grabX = x - c.x;
        if (s.mode != kDragLeft && s.mode != kDragRight) s.grabY = y - c.y;
        return s;
    }
    if (x >= frame->x && x <= frame->x + frame->w && y >= frame->y && y <= frame->y + frame->h) {
        s.mode = kDragMove;
        s.grabX = x - frame->x;
        s.grabY = y - frame->y;
    }
    return s;
}

int mirrorHorizontally(int mode) {
    switch (mode) {
        case kDragTopLeft:
            return kDragTopRight;
        case kDragTopRight:
            return kDragTopLeft;
        case kDragBottomLeft:
            return kDragBottomRight;
        case kDragBottomRight:
            return kDragBottomLeft;
        case kDragLeft:
            return kDragRight;
        case kDragRight:
            return kDragLeft;
        default:
            return mode;
    }
}

int mirrorVertically(int mode) {
    switch (mode) {
        case kDragTopLeft:
            return kDragBottomLeft;
        case kDragBottomLeft:
            return kDragTopLeft;
        case kDragTopRight:
            return kDragBottomRight;
        case kDragBottomRight:
            return kDragTopRight;
        case kDragTop:
            return kDragBottom;
        case kDragBottom:
            return kDragTop;
        default:
            return mode;
    }
}

PixelRect dragFrame(PixelRect f, DragState& state, int x, int y, int pageW, int pageH) {
    // Pixel sums are formed in 64 bits: a frame far off the page must not wrap around.
    long long L = f.x, T = f.y, W = f.w, H = f.h;
    const long long X = static_cast<long long>(x) - state.grabX;
    const long long Y = static_cast<long long>(y) - state.grabY;
    switch (state.mode) {
        case kDragTopLeft:
            W += L - X;
            H += T - Y;
            L = X;
            T = Y;
            break;
        case kDragTopRight:
            W = X - L;
            H += T - Y;
            T = Y;
            break;
        case kDragBottomLeft:
            H = Y - T;
            W += L - X;
            L = X;
            break;
        case kDragBottomRight:
            W = X - L;
            H = Y - T;
            break;
        case kDragTop:
            H += T - Y;
            T = Y;
            break;
        case kDragBottom:
            H = Y - T;
            break;
        case kDragLeft:
            W += L - X;
            L = X;
            break;
        case kDragRight:
            W = X - L;
            break;
        case kDragMove:
            L = X;
            T = Y;
            break;
        default:
            return f;
    }
    if (W < 0) {
        W = -W;
        L -= W;
        state.mode = mirrorHorizontally(state.mode);
    }
    if (H < 0) {
        H = -H;
        T -= H;
        state.mode = mirrorVertically(state.mode);
    }
    if (L + W <= 1) L = 1 - W;
    if (T + H <= 1) T = 1 - H;
    if (L > pageW - 1) L = pageW - 1;
    if (T > pageH - 1) T = pageH - 1;
    auto toInt = [](long long v) { return truncToInt(static_cast<long double>(v)); };
    return {toInt(L), toInt(T), toInt(W), toInt(H)};
}

void dragit(Placement& p, DragState& state, int x, int y, const DragView& view) {
    if (state.mode < kDragTopLeft || state.mode > kDragMove) return;
    const PixelRect before = frameOnScreen(p.Left, p.Top, p.Width, p.Height, view.zoom, view.ppi);
    const PixelRect r = dragFrame(before, state, x, y, view.pageW, view.pageH);
    auto back = [&view](int pixels) {
        return SnapToGrid(screenToInches(pixels, view.zoom, view.ppi), view.useGrid, view.gridMm);
    };
    const double width = p.Width, height = p.Height;
    p.Left = back(r.x);
    p.Top = back(r.y);
    p.Width = back(r.w);
    p.Height = back(r.h);
    if (state.mode == kDragMove) {
        p.Width = width;
        p.Height = height;
    }
}

}  // namespace pr
