#include <gtest/gtest.h>

#include "core/layout/FitPictureToFrame.h"

using namespace pr;

TEST(FitPictureToFrame, GivesSourceAndDestination) {
    const struct {
        int iw, ih, fw, fh;
        bool fitCrop, keepAspect;
        int sx, sy, sw, sh, dw, dh;
    } cases[] = {
        // Stretching ignores the fit/crop flag.
        {400, 300, 100, 100, false, false, 0, 0, 400, 300, 100, 100},
        {400, 300, 100, 100, true, false, 0, 0, 400, 300, 100, 100},
        // Fit inside: empty rows below or columns to the right, no centring.
        {400, 300, 100, 100, false, true, 0, 0, 400, 300, 100, 75},
        {400, 300, 200, 200, false, true, 0, 0, 400, 300, 200, 150},
        {300, 400, 100, 100, false, true, 0, 0, 300, 400, 75, 100},
        {3, 2, 100, 100, false, true, 0, 0, 3, 2, 100, 66},
        // Crop: the middle of the picture fills the frame (sw = 400 x 100 / 133 = 300).
        {400, 300, 100, 100, true, true, 50, 0, 300, 300, 100, 100},
        {400, 300, 200, 200, true, true, 50, 0, 300, 300, 200, 200},
        {300, 400, 100, 100, true, true, 0, 50, 300, 300, 100, 100},
        {400, 300, 200, 150, true, true, 0, 0, 400, 300, 200, 150},
        {101, 10, 10, 10, true, true, 45, 0, 10, 10, 10, 10},
        // A 60000-pixel picture into a frame of 48000 printer pixels: iw x fw exceeds 32 bits.
        {60000, 20000, 48000, 48000, true, true, 20000, 0, 20000, 20000, 48000, 48000},
        // Degenerate sizes must not divide by zero.
        {0, 0, 100, 100, true, true, 0, 0, 0, 0, 0, 0},
        {0, 10, 100, 100, false, true, 0, 0, 0, 10, 0, 0},
        {400, 300, 0, 100, true, true, 0, 0, 400, 300, 0, 0},
        {400, 300, 100, 0, true, true, 0, 0, 400, 300, 0, 0},
        {400, 300, -5, 100, false, true, 0, 0, 400, 300, 0, 0},
        {400, 300, 0, 0, false, false, 0, 0, 400, 300, 0, 0},
        {400, 300, 1, 1, true, true, 0, 0, 400, 300, 1, 1},
        {1, 30000, 100, 100, true, true, 0, 14999, 1, 1, 100, 100},
    };
    for (const auto& c : cases) {
        const FitResult r = FitPictureToFrame(c.iw, c.ih, c.fw, c.fh, c.fitCrop, c.keepAspect);
        EXPECT_EQ(std::vector<int>({r.sx, r.sy, r.sw, r.sh, r.dw, r.dh}),
                  std::vector<int>({c.sx, c.sy, c.sw, c.sh, c.dw, c.dh}))
            << c.iw << "x" << c.ih << " into " << c.fw << "x" << c.fh << " crop " << c.fitCrop
            << " aspect " << c.keepAspect;
    }
}
