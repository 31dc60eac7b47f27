#pragma once
// How a picture of iw x ih pixels goes into a frame of fw x fh device pixels. The page view,
// printing and the print preview all use this one rule, so screen and paper agree.
//
//  - keepAspect off: the whole picture is stretched to the frame (fitCrop has no effect).
//  - keepAspect on, fitCrop false: the whole picture, as large as fits, at the frame's top-left
//    corner; the empty strip is at the right or the bottom (no centring).
//  - keepAspect on, fitCrop true: the frame is filled and the middle of the picture is shown; the
//    overflow on two opposite sides is cut off.
// The destination is drawn at the frame's top-left corner.
//
// A picture or frame without area (a size of 0 or less) gives an empty destination with
// keepAspect on, instead of dividing by zero. Products are formed in 64 bits, so a large picture
// in a frame at printer resolution cannot overflow.

namespace pr {

struct FitResult {
    int sx = 0, sy = 0, sw = 0, sh = 0;  // source rectangle in picture pixels
    int dw = 0, dh = 0;                  // destination size in device pixels
    bool operator==(const FitResult& o) const {
        return sx == o.sx && sy == o.sy && sw == o.sw && sh == o.sh && dw == o.dw && dh == o.dh;
    }
};

FitResult FitPictureToFrame(int iw, int ih, int fw, int fh, bool fitCrop, bool keepAspect);

}  // namespace pr
