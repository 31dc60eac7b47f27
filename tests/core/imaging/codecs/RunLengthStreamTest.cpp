#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/imaging/codecs/RunLengthStream.h"

using namespace pr;

namespace {

// A simple code for the test: 0..127 takes the next n + 1 bytes, 128..255 repeats the next byte
// n - 126 times.
struct TestPackets {
    static bool next(ByteReader& in, RunPacket& run) {
        if (in.remaining() == 0) return false;
        const uint8_t c = in.u8();
        if (c < 128) {
            run = RunPacket{size_t{c} + 1, true, 0};
            return true;
        }
        if (in.remaining() == 0) return false;
        run = RunPacket{size_t{c} - 126u, false, in.u8()};
        return true;
    }
};

// Runs of every length from 1 up, literal and repeated, and what they expand to.
void makeStream(std::vector<uint8_t>& packed, std::vector<uint8_t>& plain) {
    std::mt19937 rng(5);
    for (int i = 0; i < 400; ++i) {
        const int length = 1 + static_cast<int>(rng() % (i % 3 == 0 ? 120 : 6));
        if (rng() & 1) {
            packed.push_back(static_cast<uint8_t>(length - 1));
            for (int k = 0; k < length; ++k) {
                packed.push_back(static_cast<uint8_t>(rng()));
                plain.push_back(packed.back());
            }
        } else if (length >= 2) {
            const auto value = static_cast<uint8_t>(rng());
            packed.insert(packed.end(), {static_cast<uint8_t>(length + 126), value});
            plain.insert(plain.end(), static_cast<size_t>(length), value);
        }
    }
}

}  // namespace

// Runs carry on from one read to the next, whatever the reads' sizes, and a short run near the
// end of a read or of the data is written no further than it should be.
TEST(RunLengthStream, ReadsInAnyPiecesGiveTheSameBytes) {
    std::vector<uint8_t> packed, plain;
    makeStream(packed, plain);
    for (const size_t piece :
         {size_t{1}, size_t{7}, size_t{31}, size_t{32}, size_t{33}, size_t{1000}}) {
        RunLengthStream<TestPackets> stream(packed.data(), packed.size(), true);
        EXPECT_EQ(stream.reach(UINT64_MAX), plain.size());
        std::vector<uint8_t> out(plain.size() + 64, 0xEE);
        size_t done = 0;
        while (done + piece <= plain.size()) {
            ASSERT_TRUE(stream.read(out.data() + done, piece)) << piece << " at " << done;
            done += piece;
        }
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + done),
                  std::vector<uint8_t>(plain.begin(), plain.begin() + done))
            << piece;
        EXPECT_EQ(out[done], 0xEE) << "written past the last read, pieces of " << piece;
        EXPECT_FALSE(stream.read(out.data(), plain.size() - done + 1)) << piece;
    }
}

TEST(RunLengthStream, CutDataReachesWhatIsThereAndReadsFailAtTheCut) {
    std::vector<uint8_t> packed, plain;
    makeStream(packed, plain);
    const std::vector<uint8_t> cut(packed.begin(), packed.begin() + packed.size() / 2);
    RunLengthStream<TestPackets> stream(cut.data(), cut.size(), true);
    const uint64_t reach = stream.reach(UINT64_MAX);
    EXPECT_GT(reach, 0u);
    EXPECT_LT(reach, plain.size());
    EXPECT_EQ(stream.reach(10), 10u);
    std::vector<uint8_t> out(plain.size());
    EXPECT_TRUE(stream.read(out.data(), static_cast<size_t>(reach)));
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<long>(reach), plain.begin()));
    EXPECT_FALSE(stream.read(out.data(), 1));

    RunLengthStream<TestPackets> raw(plain.data(), 10, false);
    EXPECT_EQ(raw.reach(UINT64_MAX), 10u);
    EXPECT_TRUE(raw.read(out.data(), 10));
    EXPECT_FALSE(raw.read(out.data(), 1));
}
