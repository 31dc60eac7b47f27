#include <gtest/gtest.h>

#include <climits>

#include "layout/FitPictureToFrame.h"

using namespace pr;

namespace {

struct FitCase {
    const char* name;
    int iw, ih, fw, fh;
    bool fitCrop, keepAspect;
    FitResult expected;  // sx, sy, sw, sh, dw, dh
};

class FitPictureToFrameTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitPictureToFrameTest, GivesSourceAndDestination) {
    const FitCase& c = GetParam();
    const FitResult r = FitPictureToFrame(c.iw, c.ih, c.fw, c.fh, c.fitCrop, c.keepAspect);
    EXPECT_EQ(r.sx, c.expected.sx);
    EXPECT_EQ(r.sy, c.expected.sy);
    EXPECT_EQ(r.sw, c.expected.sw);
    EXPECT_EQ(r.sh, c.expected.sh);
    EXPECT_EQ(r.dw, c.expected.dw);
    EXPECT_EQ(r.dh, c.expected.dh);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitPictureToFrameTest,
    ::testing::Values(
        // Stretching ignores the fit/crop flag.
        FitCase{"stretch", 400, 300, 100, 100, false, false, {0, 0, 400, 300, 100, 100}},
        FitCase{"stretchCropFlag", 400, 300, 100, 100, true, false, {0, 0, 400, 300, 100, 100}},
        // Fit inside: empty rows below or columns to the right, no centring.
        FitCase{"fitWide", 400, 300, 100, 100, false, true, {0, 0, 400, 300, 100, 75}},
        FitCase{"fitWide200", 400, 300, 200, 200, false, true, {0, 0, 400, 300, 200, 150}},
        FitCase{"fitTall", 300, 400, 100, 100, false, true, {0, 0, 300, 400, 75, 100}},
        FitCase{"fitTruncates", 3, 2, 100, 100, false, true, {0, 0, 3, 2, 100, 66}},
        // Crop: the middle of the picture fills the frame (sw = 400 x 100 / 133 = 300).
        FitCase{"cropWide", 400, 300, 100, 100, true, true, {50, 0, 300, 300, 100, 100}},
        FitCase{"cropWide200", 400, 300, 200, 200, true, true, {50, 0, 300, 300, 200, 200}},
        FitCase{"cropTall", 300, 400, 100, 100, true, true, {0, 50, 300, 300, 100, 100}},
        FitCase{"cropSameShape", 400, 300, 200, 150, true, true, {0, 0, 400, 300, 200, 150}},
        FitCase{"cropOddHalving", 101, 10, 10, 10, true, true, {45, 0, 10, 10, 10, 10}},
        // A 60000-pixel picture into a frame of 48000 printer pixels: iw x fw exceeds 32 bits.
        FitCase{"cropLargeNoOverflow",
                60000,
                20000,
                48000,
                48000,
                true,
                true,
                {20000, 0, 20000, 20000, 48000, 48000}},
        // Degenerate sizes must not divide by zero.
        FitCase{"zeroPicture", 0, 0, 100, 100, true, true, {0, 0, 0, 0, 0, 0}},
        FitCase{"zeroPictureFit", 0, 10, 100, 100, false, true, {0, 0, 0, 10, 0, 0}},
        FitCase{"zeroFrameWidth", 400, 300, 0, 100, true, true, {0, 0, 400, 300, 0, 0}},
        FitCase{"zeroFrameHeight", 400, 300, 100, 0, true, true, {0, 0, 400, 300, 0, 0}},
        FitCase{"negativeFrame", 400, 300, -5, 100, false, true, {0, 0, 400, 300, 0, 0}},
        FitCase{"zeroFrameStretch", 400, 300, 0, 0, false, false, {0, 0, 400, 300, 0, 0}},
        FitCase{"onePixelFrame", 400, 300, 1, 1, true, true, {0, 0, 400, 300, 1, 1}},
        FitCase{"hairline", 1, 30000, 100, 100, true, true, {0, 14999, 1, 1, 100, 100}}),
    [](const ::testing::TestParamInfo<FitCase>& i) { return std::string(i.param.name); });

}  // namespace
