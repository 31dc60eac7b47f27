#include <gtest/gtest.h>

#include <limits>

#include "core/layout/EffectiveResolution.h"

using namespace pr;

namespace {

struct DpiCase {
    const char* name;
    int pw, ph;
    double fw, fh;
    bool fitCrop, keepAspect;
    double dpi;
};

class EffectiveDpi : public ::testing::TestWithParam<DpiCase> {};

TEST_P(EffectiveDpi, FollowsTheFittingRule) {
    const DpiCase& c = GetParam();
    EXPECT_DOUBLE_EQ(effectiveDpi(c.pw, c.ph, c.fw, c.fh, c.fitCrop, c.keepAspect), c.dpi)
        << c.name;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectiveDpi,
    ::testing::Values(
        // 3000 x 2000 in a 10 x 10 inch frame: fitted whole it is 10 inches wide (300 dpi on
        // both axes); cropped it fills the height (200 dpi) and loses its sides.
        DpiCase{"fit, wider picture", 3000, 2000, 10, 10, false, true, 300},
        DpiCase{"crop, wider picture", 3000, 2000, 10, 10, true, true, 200},
        DpiCase{"fit, taller picture", 2000, 3000, 10, 10, false, true, 300},
        DpiCase{"crop, taller picture", 2000, 3000, 10, 10, true, true, 200},
        // Stretched, each axis on its own: the coarser one counts, fit/crop or not.
        DpiCase{"stretched", 3000, 2000, 10, 4, false, false, 300},
        DpiCase{"stretched, crop flag", 3000, 2000, 10, 4, true, false, 300},
        DpiCase{"exact shape", 1800, 1200, 6, 4, true, true, 300},
        DpiCase{"exact minimum 72 dpi", 288, 216, 4, 3, false, true, 72},
        DpiCase{"no frame width", 3000, 2000, 0, 4, false, true, 0},
        DpiCase{"negative frame", 3000, 2000, -5, 4, true, true, 0},
        DpiCase{"frame NaN", 3000, 2000, kNaN, 4, false, true, 0},
        DpiCase{"no picture", 0, 2000, 5, 4, false, true, 0}));

TEST(EffectiveDpi, BelowMinimumOnlyForARealPrintUnderTheMinimum) {
    EXPECT_TRUE(belowMinimumQuality(71.999, 72));
    EXPECT_FALSE(belowMinimumQuality(72, 72));
    EXPECT_FALSE(belowMinimumQuality(300, 72));
    EXPECT_FALSE(belowMinimumQuality(0, 72));  // no area: nothing is printed
    // Shown truncated, so a print that misses the minimum never reads as reaching it.
    EXPECT_EQ(wholeDpi(71.999), 71);
    EXPECT_EQ(wholeDpi(243.7), 243);
}

}  // namespace
