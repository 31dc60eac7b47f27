#include <gtest/gtest.h>

#include <cstring>

#include "core/album/Placement.h"

using namespace pr;

// The bytes a record really produces, which is what the album file stores.
TEST(Placement, FieldsLandAtTheirFileOffsets) {
    Placement p;
    std::memset(&p, 0, sizeof p);
    p = Placement{1.0, 2.0, -0.5, 1e300, 0x01020304, -2, 1, {}};
    uint8_t bytes[48];
    std::memcpy(bytes, &p, sizeof bytes);
    const double want[4] = {1.0, 2.0, -0.5, 1e300};
    for (int i = 0; i < 4; ++i) {
        double d;
        std::memcpy(&d, bytes + 8 * i, 8);
        EXPECT_EQ(d, want[i]) << i;
    }
    const uint8_t tail[16] = {4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes + 32, tail, 16), 0);
}
