#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

using namespace pr;

TEST(ByteReader, ReadsEitherOrderAndAFailedReadPoisonsTheRest) {
    const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
    const struct {
        ByteOrder order;
        uint16_t u16;
        uint32_t u32;
    } orders[] = {{ByteOrder::Little, 0x3412, 0x9A785634}, {ByteOrder::Big, 0x1234, 0x56789A}};
    for (const auto& o : orders) {
        ByteReader in(bytes, sizeof bytes, o.order);
        EXPECT_EQ(in.u16(), o.u16);
        EXPECT_EQ(in.remaining(), 3u);
        // Four bytes do not fit in three: the read fails, and so does everything after it, even
        // a read that would have fitted.
        EXPECT_EQ(in.u32(), 0u);
        EXPECT_FALSE(in.ok());
        EXPECT_EQ(in.u8(), 0u);
        EXPECT_EQ(in.remaining(), 0u);
        EXPECT_EQ(in.take(1), nullptr);

        ByteReader again(bytes, sizeof bytes, o.order);
        ASSERT_TRUE(again.seek(1));
        EXPECT_EQ(again.u32(), o.order == ByteOrder::Big ? 0x3456789Au : o.u32);
        EXPECT_TRUE(again.ok());
        EXPECT_TRUE(again.seek(5));  // the end itself is a place to be
        EXPECT_FALSE(again.seek(6));
        EXPECT_FALSE(again.seek(0)) << "a failed reader stays failed";
    }
    ByteReader empty(nullptr, 10);
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.u8(), 0u);
    EXPECT_FALSE(empty.ok());
}

TEST(ByteWriter, WhatItWritesReadsBack) {
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        ByteWriter out(order);
        out.u8(7).u16(0xBEEF).u32(0xDEADBEEF).i32(-2).f64(-0.125).zeros(2).bytes("ab", 2);
        const std::vector<uint8_t> bytes = out.take();
        ASSERT_EQ(bytes.size(), 1u + 2 + 4 + 4 + 8 + 2 + 2);
        EXPECT_EQ(bytes[1], order == ByteOrder::Little ? 0xEF : 0xBE);
        ByteReader in(bytes.data(), bytes.size(), order);
        EXPECT_EQ(in.u8(), 7u);
        EXPECT_EQ(in.u16(), 0xBEEFu);
        EXPECT_EQ(in.u32(), 0xDEADBEEFu);
        EXPECT_EQ(in.i32(), -2);
        EXPECT_EQ(in.f64(), -0.125);
        EXPECT_TRUE(in.skip(2));
        char ab[2];
        EXPECT_TRUE(in.bytes(ab, 2));
        EXPECT_EQ(ab[1], 'b');
        EXPECT_EQ(in.remaining(), 0u);
        EXPECT_TRUE(in.ok());
    }
}
