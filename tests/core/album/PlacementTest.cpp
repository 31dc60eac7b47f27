#include <gtest/gtest.h>

#include <cstring>

#include "album/Placement.h"

using namespace pr;

// The offsets are also static_asserts in the header; this checks the bytes a record really
// produces, which is what the album file stores.
TEST(Placement, FieldsLandAtTheirFileOffsets) {
    Placement p;
    std::memset(&p, 0, sizeof p);
    p.Left = 1.0;
    p.Top = 2.0;
    p.Width = -0.5;
    p.Height = 1e300;
    p.Page = 0x01020304;
    p.ImageKey = -2;
    p.FitCrop = 1;
    uint8_t bytes[48];
    std::memcpy(bytes, &p, sizeof bytes);

    auto dbl = [&](int off) {
        double d;
        std::memcpy(&d, bytes + off, 8);
        return d;
    };
    EXPECT_EQ(dbl(0), 1.0);
    EXPECT_EQ(dbl(8), 2.0);
    EXPECT_EQ(dbl(16), -0.5);
    EXPECT_EQ(dbl(24), 1e300);
    // Little-endian integers, as the file has them.
    EXPECT_EQ(bytes[32], 0x04);
    EXPECT_EQ(bytes[35], 0x01);
    EXPECT_EQ(bytes[36], 0xFE);
    EXPECT_EQ(bytes[39], 0xFF);
    EXPECT_EQ(bytes[40], 1);
    for (int i = 41; i < 48; ++i) EXPECT_EQ(bytes[i], 0) << i;
}
