#pragma once
// Run-length coded pixel data read as one continuous stream: writers (and the formats' own
// reference decoders) let a run carry on into the next plane row or scanline, so the run state
// survives between calls. Every packet and every run is checked against the bytes that remain and
// against the bytes asked for.
//
// `Packets` reads one packet header: static bool next(ByteReader& in, RunPacket& run), false when
// the data ends before the packet is whole. A literal run's bytes follow in the input; a repeated
// run repeats `value`.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/io/ByteReader.h"

namespace pr {

struct RunPacket {
    size_t count = 0;
    bool literal = false;
    uint8_t value = 0;
};

template <class Packets>
class RunLengthStream {
public:
    // Unpacked data (`packed` false) is handed out as it is.
    RunLengthStream(const uint8_t* data, size_t size, bool packed)
        : in_(data, size), packed_(packed) {}

    // Fills `n` bytes; false when the data ended first (the bytes written so far stay).
    bool read(uint8_t* out, size_t n) {
        if (!packed_) return in_.bytes(out, n);
        for (size_t i = 0; i < n;) {
            if (run_.count == 0) {
                if (!Packets::next(in_, run_)) return false;
                continue;
            }
            const size_t k = std::min(run_.count, n - i);
            if (k <= kShort && n - i >= kShort) {
                // Most runs are a few bytes long. kShort bytes are written whatever the length
                // (the bytes past the run are written again by what follows), which spares the
                // unpredictable branches of a loop or a call for each short run.
                if (!run_.literal) {
                    std::memset(out + i, run_.value, kShort);
                } else if (const uint8_t* ahead = in_.peek(kShort)) {
                    std::memcpy(out + i, ahead, kShort);
                    in_.skip(k);
                } else if (!in_.bytes(out + i, k)) {
                    return false;
                }
            } else if (!run_.literal) {
                std::memset(out + i, run_.value, k);
            } else if (!in_.bytes(out + i, k)) {
                return false;
            }
            i += k;
            run_.count -= k;
        }
        return true;
    }

    // How many bytes the data would give, up to `cap`, without writing any.
    uint64_t reach(uint64_t cap) const {
        if (!packed_) return std::min<uint64_t>(in_.remaining(), cap);
        ByteReader in = in_;
        RunPacket run = run_;
        uint64_t n = 0;
        do {
            if (run.literal) {
                const size_t k = std::min(run.count, in.remaining());
                in.skip(k);
                n += k;
            } else {
                n += run.count;
            }
        } while (n < cap && Packets::next(in, run));
        return std::min(n, cap);
    }

private:
    static constexpr size_t kShort = 32;

    ByteReader in_;
    bool packed_;
    RunPacket run_;
};

}  // namespace pr
