#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/album/Placement.h"
#include "core/album/TDynaArray.h"

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
    Placement* append() { return reinterpret_cast<Placement*>(array.Append()); }
    void appendKeys(int from, int to) {
        for (int k = from; k < to; ++k) {
            Placement* p = append();
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

bool allZero(const void* p) {
    const auto* b = static_cast<const uint8_t*>(p);
    return std::all_of(b, b + sizeof(Placement), [](uint8_t v) { return v == 0; });
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int k = from; k < to; ++k) v.push_back(k);
    return v;
}

}  // namespace

TEST(TDynaArray, GrowsAndShrinksInStepsOfHundredKeepingContent) {
    Fixture f;
    // n - 1 wraps for n = 0; in 64 bits the product must not wrap back to something small.
    EXPECT_EQ(f.array.capacityFor(0), 4294967300ull * 48u);
    const std::pair<int, int32_t> growth[] = {{100, 4800}, {101, 9600}, {200, 9600}, {201, 14400}};
    int n = 0;
    for (auto [count, bytes] : growth) {
        f.appendKeys(n, count);
        n = count;
        EXPECT_EQ(f.array.allocatedBytes(), bytes) << count;
        EXPECT_EQ(f.keys(), range(0, count));
    }
    ASSERT_TRUE(f.array.Delete(200));
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    for (int k = 0; k < 99; ++k) ASSERT_TRUE(f.array.Delete(0));
    ASSERT_EQ(f.array.count(), 101u);
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    ASSERT_TRUE(f.array.Delete(100));
    EXPECT_EQ(f.array.allocatedBytes(), 4800);
    EXPECT_EQ(f.keys(), range(99, 199));
    EXPECT_DOUBLE_EQ(f.at(0)->Left, 99.5);

    f.array.Clear();
    EXPECT_EQ(f.array.count(), 0u);
    EXPECT_EQ(f.array.block(), nullptr);
    EXPECT_EQ(f.array.allocatedBytes(), 0);
    EXPECT_EQ(f.mirror, nullptr);
}

TEST(TDynaArray, DeleteKeepsOrderClearsCurrentAndReusedSlotsAreZero) {
    Fixture f;
    f.appendKeys(0, 5);
    ASSERT_TRUE(f.array.Delete(1));
    EXPECT_EQ(f.keys(), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(f.array.cursor(), -1);
    EXPECT_EQ(f.mirror, nullptr);

    // Deleting leaves old bytes behind the new end: an Append there must hand out zeros.
    for (int32_t gone : {3, 0}) {
        ASSERT_TRUE(f.array.Delete(gone));
        Placement* p = f.append();
        ASSERT_EQ(p, f.at(3));
        EXPECT_TRUE(allZero(p)) << gone;
        EXPECT_EQ(f.mirror, p);
        EXPECT_EQ(f.array.cursor(), 3);
        std::memset(p, 0xCD, sizeof *p);
    }
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(f.array.Delete(0));
    EXPECT_EQ(f.array.block(), nullptr);
    f.appendKeys(7, 8);  // the next Append after emptying allocates afresh
    EXPECT_EQ(f.keys(), (std::vector<int>{7}));
}

TEST(TDynaArray, OutOfRangeDeleteAndExchangeChangeNothing) {
    Fixture f;
    EXPECT_TRUE(f.array.Delete(0));  // empty array: Count - 1 must not wrap into "in range"
    f.appendKeys(0, 4);
    f.array.Select(1);
    Placement* before = f.mirror;
    for (int32_t bad : {4, 5, -1, INT32_MIN}) {
        f.array.Delete(bad);
        f.array.Exchange(bad, 0);
        f.array.Exchange(1, bad);
        EXPECT_EQ(f.array.cursor(), 1) << bad;
        EXPECT_EQ(f.mirror, before);
    }
    EXPECT_EQ(f.keys(), range(0, 4));

    f.array.Exchange(0, 3);  // swaps and makes the second current
    EXPECT_EQ(f.keys(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(f.array.cursor(), 3);
    EXPECT_EQ(f.mirror, f.at(3));
    f.array.Exchange(2, 2);
    EXPECT_EQ(f.keys(), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(f.array.cursor(), 2);
    EXPECT_EQ(f.mirror, f.at(2));
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
    EXPECT_EQ(seen, range(0, 3));
    f.array.Delete(0);  // Cursor -1: Next without First yields nothing
    EXPECT_FALSE(f.array.Next());
}

TEST(TDynaArray, FailedAllocationsReportAndLeaveTheArrayAsItWas) {
    Fixture f;
    f.allocationsLeft = 0;
    EXPECT_EQ(f.append(), nullptr);
    EXPECT_EQ(f.array.count(), 0u);
    EXPECT_EQ(f.array.block(), nullptr);

    f.allocationsLeft = -1;
    f.appendKeys(0, 100);
    f.allocationsLeft = 0;
    EXPECT_EQ(f.append(), nullptr);  // growing to 200 records fails
    EXPECT_EQ(f.keys(), range(0, 100));
    f.allocationsLeft = 1;
    f.appendKeys(100, 101);
    f.array.Select(5);
    Placement* current = f.mirror;
    const uint8_t* block = f.array.block();
    EXPECT_FALSE(f.array.Delete(3));  // shrinking to 100 records fails
    EXPECT_EQ(f.messages,
              (std::vector<std::string>{
                  "Error 1 while trying to allocate 4800 bytes of RAM. Not enough memory.",
                  "Error 2 while trying to allocate 9600 bytes of RAM. Not enough memory.",
                  "Error 3 while trying to allocate 4800 bytes of RAM. Not enough memory."}));
    EXPECT_EQ(f.array.allocatedBytes(), 9600);
    EXPECT_EQ(f.array.block(), block);
    EXPECT_EQ(f.array.cursor(), 5);
    EXPECT_EQ(f.mirror, current);
    EXPECT_EQ(f.keys(), range(0, 101));
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
