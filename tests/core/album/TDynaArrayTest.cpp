#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "album/Placement.h"
#include "album/TDynaArray.h"

using namespace pr;

namespace {

// An array of placements with the owner's mirror and a recorder for allocation messages.
struct Fixture {
    Placement* mirror =
        reinterpret_cast<Placement*>(uintptr_t{1});  // not null: proves it is written
    TDynaArray array{static_cast<int32_t>(sizeof(Placement)), &mirror};
    std::vector<std::string> messages;
    int allocationsLeft = -1;  // -1: unlimited

    Fixture() {
        array.setMessageHandler([this](const std::string& m) { messages.push_back(m); });
        array.setAllocator([this](std::size_t n) -> void* {
            if (allocationsLeft == 0) return nullptr;
            if (allocationsLeft > 0) --allocationsLeft;
            return std::calloc(n, 1);
        });
    }
    Placement* at(uint32_t i) { return array.at<Placement>(i); }
    void appendKeys(int from, int to) {
        for (int k = from; k < to; ++k) {
            auto* p = reinterpret_cast<Placement*>(array.Append());
            ASSERT_NE(p, nullptr);
            p->ImageKey = k;
            p->Left = k + 0.5;
            std::memset(p->Reserved, 0xAB, sizeof p->Reserved);  // dirty every byte of the slot
        }
    }
    std::vector<int> keys() {
        std::vector<int> out;
        for (uint32_t i = 0; i < array.count(); ++i) out.push_back(at(i)->ImageKey);
        return out;
    }
};

bool allZero(const void* p, std::size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (b[i] != 0) return false;
    return true;
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int k = from; k < to; ++k) v.push_back(k);
    return v;
}

}  // namespace

TEST(TDynaArray, StartsEmpty) {
    Fixture f;
    EXPECT_EQ(f.array.count(), 0u);
    EXPECT_EQ(f.array.cursor(), -1);
    EXPECT_EQ(f.array.current(), nullptr);
    EXPECT_EQ(f.array.block(), nullptr);
    EXPECT_EQ(f.array.allocatedBytes(), 0);
}

TEST(TDynaArray, CapacityFollowsTheSizingRule) {
    Fixture f;
    EXPECT_EQ(f.array.capacityFor(1), 4800u);
    EXPECT_EQ(f.array.capacityFor(100), 4800u);
    EXPECT_EQ(f.array.capacityFor(101), 9600u);
    EXPECT_EQ(f.array.capacityFor(200), 9600u);
    EXPECT_EQ(f.array.capacityFor(201), 14400u);
    // n - 1 wraps for n = 0; in 64 bits the product must not wrap back to something small.
    EXPECT_EQ(f.array.capacityFor(0), 4294967300ull * 48u);
}

TEST(TDynaArray, GrowsAndShrinksInStepsOfHundredKeepingContent) {
    Fixture f;
    f.appendKeys(0, 100);
    EXPECT_EQ(f.array.allocatedBytes(), 4800);
    f.appendKeys(100, 101);
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    EXPECT_EQ(f.keys(), range(0, 101));
    f.appendKeys(101, 200);
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    f.appendKeys(200, 201);
    EXPECT_EQ(f.array.allocatedBytes(), 14400);

    ASSERT_TRUE(f.array.Delete(200));
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    EXPECT_EQ(f.keys(), range(0, 200));
    ASSERT_TRUE(f.array.Delete(0));  // 199 records: still the 200-record block
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    for (int k = 0; k < 98; ++k) ASSERT_TRUE(f.array.Delete(0));
    ASSERT_EQ(f.array.count(), 101u);
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    ASSERT_TRUE(f.array.Delete(100));
    EXPECT_EQ(f.array.allocatedBytes(), 4800);
    EXPECT_EQ(f.keys(), range(99, 199));
    EXPECT_DOUBLE_EQ(f.at(0)->Left, 99.5);
}

TEST(TDynaArray, DeleteKeepsOrderAndClearsCurrent) {
    Fixture f;
    f.appendKeys(0, 5);
    ASSERT_TRUE(f.array.Delete(1));
    EXPECT_EQ(f.keys(), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(f.array.cursor(), -1);
    EXPECT_EQ(f.array.current(), nullptr);
    EXPECT_EQ(f.mirror, nullptr);

    for (int k = 0; k < 4; ++k) ASSERT_TRUE(f.array.Delete(0));
    EXPECT_EQ(f.array.block(), nullptr);
    EXPECT_EQ(f.array.allocatedBytes(), 0);
    f.appendKeys(7, 8);  // the next Append after emptying allocates afresh
    EXPECT_EQ(f.keys(), (std::vector<int>{7}));
    EXPECT_EQ(f.array.allocatedBytes(), 4800);
}

TEST(TDynaArray, NewRecordsAreZeroAlsoInReusedSlots) {
    Fixture f;
    auto* p = reinterpret_cast<Placement*>(f.array.Append());
    EXPECT_TRUE(allZero(p, sizeof(Placement)));
    EXPECT_EQ(f.mirror, p);
    EXPECT_EQ(f.array.cursor(), 0);

    f.appendKeys(1, 3);
    ASSERT_TRUE(f.array.Delete(2));  // the slot of record 2 keeps its old bytes in the block
    p = reinterpret_cast<Placement*>(f.array.Append());
    ASSERT_EQ(p, f.at(2));
    EXPECT_TRUE(allZero(p, sizeof(Placement)));
    EXPECT_EQ(f.array.cursor(), 2);

    // Deleting from the middle leaves a copy of the last record behind the new end.
    ASSERT_TRUE(f.array.Delete(0));
    p = reinterpret_cast<Placement*>(f.array.Append());
    EXPECT_TRUE(allZero(p, sizeof(Placement)));
}

TEST(TDynaArray, OutOfRangeDeleteChangesNothingNotEvenCurrent) {
    Fixture f;
    EXPECT_TRUE(f.array.Delete(0));  // empty array: Count - 1 must not wrap into "in range"
    f.appendKeys(0, 3);
    f.array.Select(1);
    Placement* before = f.mirror;
    for (int32_t bad : {3, 4, -1, INT32_MIN}) {
        f.array.Delete(bad);
        EXPECT_EQ(f.array.count(), 3u);
        EXPECT_EQ(f.array.cursor(), 1);
        EXPECT_EQ(f.mirror, before);
        EXPECT_EQ(f.array.current(), reinterpret_cast<uint8_t*>(before));
    }
    EXPECT_EQ(f.keys(), (std::vector<int>{0, 1, 2}));
}

TEST(TDynaArray, ExchangeSwapsAndMakesSecondCurrent) {
    Fixture f;
    f.appendKeys(0, 4);
    f.array.Exchange(0, 3);
    EXPECT_EQ(f.keys(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(f.array.cursor(), 3);
    EXPECT_EQ(f.mirror, f.at(3));

    f.array.Exchange(2, 2);
    EXPECT_EQ(f.keys(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(f.array.cursor(), 2);
    EXPECT_EQ(f.mirror, f.at(2));

    f.array.Exchange(1, 4);
    f.array.Exchange(-1, 0);
    EXPECT_EQ(f.keys(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(f.array.cursor(), 2);
}

TEST(TDynaArray, FirstNextVisitsEveryRecordOnceInOrder) {
    Fixture f;
    f.array.First();
    EXPECT_FALSE(f.array.Next());
    EXPECT_EQ(f.array.cursor(), -1);

    f.appendKeys(0, 3);
    std::vector<int> seen;
    f.array.First();
    while (f.array.Next()) seen.push_back(f.mirror->ImageKey);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));

    f.array.Delete(0);  // Cursor -1: Next without First yields nothing
    EXPECT_FALSE(f.array.Next());
}

TEST(TDynaArray, ClearReleasesEverything) {
    Fixture f;
    f.appendKeys(0, 150);
    f.array.Clear();
    EXPECT_EQ(f.array.count(), 0u);
    EXPECT_EQ(f.array.block(), nullptr);
    EXPECT_EQ(f.array.allocatedBytes(), 0);
    EXPECT_EQ(f.array.cursor(), -1);
    EXPECT_EQ(f.mirror, nullptr);
}

TEST(TDynaArray, FailedAllocationsReportAndLeaveTheArrayAsItWas) {
    Fixture f;
    f.allocationsLeft = 0;
    EXPECT_EQ(f.array.Append(), nullptr);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0],
              "Error 1 while trying to allocate 4800 bytes of RAM. Not enough memory.");
    EXPECT_EQ(f.array.count(), 0u);
    EXPECT_EQ(f.array.block(), nullptr);
    EXPECT_EQ(f.array.allocatedBytes(), 0);

    f.allocationsLeft = -1;
    f.appendKeys(0, 100);
    f.array.Select(5);
    Placement* current = f.mirror;
    const uint8_t* block = f.array.block();
    auto unchanged = [&](uint32_t count, int32_t allocated) {
        EXPECT_EQ(f.array.count(), count);
        EXPECT_EQ(f.array.allocatedBytes(), allocated);
        EXPECT_EQ(f.array.block(), block);
        EXPECT_EQ(f.array.cursor(), 5);
        EXPECT_EQ(f.mirror, current);
        EXPECT_EQ(f.keys(), range(0, static_cast<int>(count)));
    };

    f.allocationsLeft = 0;
    EXPECT_EQ(f.array.Append(), nullptr);
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_EQ(f.messages[1],
              "Error 2 while trying to allocate 9600 bytes of RAM. Not enough memory.");
    unchanged(100, 4800);

    f.allocationsLeft = 1;
    f.appendKeys(100, 101);
    f.array.Select(5);
    current = f.mirror;
    block = f.array.block();
    EXPECT_FALSE(f.array.Delete(3));
    ASSERT_EQ(f.messages.size(), 3u);
    EXPECT_EQ(f.messages[2],
              "Error 3 while trying to allocate 4800 bytes of RAM. Not enough memory.");
    unchanged(101, 9600);
}

TEST(TDynaArray, BlocksBeyondWhatAllocatedBytesCanHoldAreRefused) {
    // AllocatedBytes is 32-bit; a 100-record step of 30 MB records does not fit it.
    Placement* mirror = nullptr;
    TDynaArray huge(30000000, &mirror);
    std::string message;
    huge.setMessageHandler([&](const std::string& m) { message = m; });
    EXPECT_EQ(huge.Append(), nullptr);
    EXPECT_EQ(message,
              "Error 1 while trying to allocate 3000000000 bytes of RAM. Not enough memory.");
    EXPECT_EQ(huge.count(), 0u);
}
