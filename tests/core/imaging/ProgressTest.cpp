#include <gtest/gtest.h>

#include <functional>

#include "ProcessingPictures.h"
#include "core/imaging/DepthUpTo.h"
#include "core/imaging/Resize.h"
#include "core/imaging/Rotate.h"

using namespace pr;
using namespace proctest;

// Progress counts stored rows (or bands), starts and ends at zero, and survives a single row.
TEST(Progress, EveryOperationReportsFromZeroBackToZero) {
    using Op = std::function<bool(ImageBuffer&, const ProgressFn&)>;
    ImageBuffer out;
    // clang-format off
    const Op depth = [](ImageBuffer& b, const ProgressFn& p) { return DepthUpTo(b, 24, p) == DepthResult::Converted; };
    const Op resize65 = [&](ImageBuffer& b, const ProgressFn& p) { return Resize(b, 6, 5, true, out, p); };
    const Op resize61 = [&](ImageBuffer& b, const ProgressFn& p) { return Resize(b, 6, 1, true, out, p); };
    const Op right = [](ImageBuffer& b, const ProgressFn& p) { return RotRight(b, p); };
    const Op left = [](ImageBuffer& b, const ProgressFn& p) { return RotLeft(b, p); };
    const struct { int w, h, bits; Op op; std::vector<int> want; } cases[] = {
        {5, 3, 8, depth, {0, 0, 50, 100, 0}}, {5, 1, 4, depth, {0, 0, 0}},
        {4, 4, 24, resize65, {0, 0, 25, 50, 75, 100, 0}}, {4, 4, 24, resize61, {0, 0, 0}},
        {9, 1, 24, right, {0, 0, 0}}, {3, 129, 8, left, {0, 0, 50, 100, 0}}};
    // clang-format on
    for (const auto& c : cases) {
        ImageBuffer picture = randomPicture(c.w, c.h, c.bits, 80);
        ProgressLog log;
        EXPECT_TRUE(c.op(picture, log.fn())) << c.w << "x" << c.h;
        EXPECT_EQ(log.values, c.want) << c.w << "x" << c.h;
    }
    ImageBuffer empty;
    EXPECT_FALSE(RotLeft(empty));
}
