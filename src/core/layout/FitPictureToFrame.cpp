#include "core/layout/FitPictureToFrame.h"

#include <cstdint>

#include "core/layout/PageUnits.h"

namespace pr {

namespace {
// trunc(a x b / c) in floating point, as the fitting rule computes the scaled side.
int scaled(int a, int b, int c) {
    return truncToInt(static_cast<long double>(a) * b / c);
}
}  // namespace

FitResult FitPictureToFrame(int iw, int ih, int fw, int fh, bool fitCrop, bool keepAspect) {
    FitResult r;
    r.sw = iw;
    r.sh = ih;
    if (!keepAspect) {
        r.dw = fw;
        r.dh = fh;
        return r;
    }
    if (iw <= 0 || ih <= 0 || fw <= 0 || fh <= 0) return r;  // nothing to draw

    const int dh = scaled(ih, fw, iw);
    if (!fitCrop) {
        r.dw = fw;
        r.dh = dh;
        if (r.dh > fh) {
            r.dh = fh;
            r.dw = scaled(iw, fh, ih);
        }
        return r;
    }
    if (dh < fh) {
        // Relatively wider than the frame: fill the height, cut the sides. dw' > fw >= 1 here.
        const int dwFull = scaled(iw, fh, ih);
        r.sw = static_cast<int>(static_cast<int64_t>(iw) * fw / dwFull);
        r.sx = (iw - r.sw) / 2;
    } else {
        // Relatively taller, or exactly the frame's shape: fill the width, cut top and bottom.
        // dh >= fh >= 1 here.
        r.sh = static_cast<int>(static_cast<int64_t>(ih) * fh / dh);
        r.sy = (ih - r.sh) / 2;
    }
    r.dw = fw;
    r.dh = fh;
    return r;
}

}  // namespace pr
