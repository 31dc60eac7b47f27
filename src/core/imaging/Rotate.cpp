#include "core/imaging/Rotate.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <system_error>
#include <thread>

namespace pr {
namespace {

// Pictures are turned in square tiles: a tile's source rows and target rows both stay in the
// first-level cache, where a plain row-by-column loop would touch a new cache line (and often a
// new page) on every write.
constexpr int kTile = 64;
// Below this many pixels a second thread costs more than it saves.
constexpr int64_t kParallelPixels = 1 << 20;

int rowPercent(int row, int rows) {
    return rows > 1 ? static_cast<int>(static_cast<int64_t>(row) * 100 / (rows - 1)) : 0;
}

uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void store32(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}

// Copies n pixels of Bytes bytes, `step` bytes apart, into a contiguous run.
template <int Bytes>
void gatherColumn(const uint8_t* p, std::ptrdiff_t step, uint8_t* q, int n) {
    int j = 0;
    if (Bytes == 3) {
        // Four pixels become three 32-bit stores. Each load reads one byte past its pixel, which
        // the tile buffer's padding allows.
        for (; j + 4 <= n; j += 4) {
            const uint32_t p0 = load32(p), p1 = load32(p + step), p2 = load32(p + 2 * step),
                           p3 = load32(p + 3 * step);
            store32(q, (p0 & 0xFFFFFFu) | (p1 << 24));
            store32(q + 4, ((p1 >> 8) & 0xFFFFu) | (p2 << 16));
            store32(q + 8, ((p2 >> 16) & 0xFFu) | (p3 << 8));
            q += 12;
            p += 4 * step;
        }
    }
    for (; j < n; ++j) {
        for (int k = 0; k < Bytes; ++k) q[k] = p[k];
        q += Bytes;
        p += step;
    }
}

// 8- and 24-bit pictures: each tile is copied row by row into a small buffer, turned there and
// written out row by row, so both pictures are only ever read and written in runs. Bands of
// source rows write disjoint bytes of the target, so on big pictures two threads take bands in
// turn; the calling thread (the window thread) reports progress for the bands it starts.
template <int Bytes, bool Right>
void turnWholeBytes(const ImageBuffer& src, const ImageBuffer& dst, const ProgressFn& progress) {
    const int w = src.width();
    const int h = src.height();
    std::atomic<int> nextBand{0};
    auto run = [&](bool report) {
        constexpr int kRun = kTile * Bytes;
        uint8_t in[kTile * kRun + 4] = {};
        uint8_t out[kTile * kRun + 4];
        for (;;) {
            const int y0 = nextBand.fetch_add(kTile);
            if (y0 >= h) break;
            if (report && progress) progress(rowPercent(y0, h));
            const int y1 = std::min(h, y0 + kTile);
            const int n = y1 - y0;
            for (int x0 = 0; x0 < w; x0 += kTile) {
                const int m = std::min(w, x0 + kTile) - x0;
                for (int r = 0; r < n; ++r) {
                    std::memcpy(in + r * kRun,
                                src.rowFromTop(y0 + r) + static_cast<int64_t>(x0) * Bytes,
                                static_cast<size_t>(m) * Bytes);
                }
                // Right: target row x holds source column x from the bottom row up, starting at
                // column h - y1; left: target row w - 1 - x holds it from the top down, at y0.
                for (int c = 0; c < m; ++c) {
                    if (Right) {
                        gatherColumn<Bytes>(in + (n - 1) * kRun + c * Bytes, -kRun, out + c * kRun,
                                            n);
                    } else {
                        gatherColumn<Bytes>(in + c * Bytes, kRun, out + c * kRun, n);
                    }
                }
                const int64_t column = Right ? h - y1 : y0;
                for (int c = 0; c < m; ++c) {
                    uint8_t* row = dst.rowFromTop(Right ? x0 + c : w - 1 - x0 - c);
                    std::memcpy(row + column * Bytes, out + c * kRun,
                                static_cast<size_t>(n) * Bytes);
                }
            }
        }
    };
    std::thread helper;
    if (std::thread::hardware_concurrency() >= 2 &&
        static_cast<int64_t>(w) * h >= kParallelPixels && h >= 2 * kTile) {
        try {
            helper = std::thread(run, false);
        } catch (const std::system_error&) {
            // No second thread: this one does every band.
        }
    }
    run(true);
    if (helper.joinable()) helper.join();
}

// 1- and 4-bit pictures, pixel by pixel within tiles. Targets start zeroed, so only bits are set.
struct Pixel4 {
    static void copy(const uint8_t* s, int sx, uint8_t* d, int dx) {
        const uint8_t v = (sx & 1) ? (s[sx >> 1] & 0x0Fu) : (s[sx >> 1] >> 4);
        d[dx >> 1] |= (dx & 1) ? v : static_cast<uint8_t>(v << 4);
    }
};
struct Pixel1 {
    static void copy(const uint8_t* s, int sx, uint8_t* d, int dx) {
        if ((s[sx >> 3] >> (7 - (sx & 7))) & 1)
            d[dx >> 3] |= static_cast<uint8_t>(0x80u >> (dx & 7));
    }
};

template <class Pixel, bool Right>
void turnPacked(const ImageBuffer& src, const ImageBuffer& dst, const ProgressFn& progress) {
    const int w = src.width();
    const int h = src.height();
    const uint8_t* band[kTile];
    for (int y0 = 0; y0 < h; y0 += kTile) {
        if (progress) progress(rowPercent(y0, h));
        const int y1 = std::min(h, y0 + kTile);
        for (int y = y0; y < y1; ++y) band[y - y0] = src.rowFromTop(y);
        for (int x0 = 0; x0 < w; x0 += kTile) {
            const int x1 = std::min(w, x0 + kTile);
            for (int x = x0; x < x1; ++x) {
                uint8_t* d = dst.rowFromTop(Right ? x : w - 1 - x);
                for (int y = y0; y < y1; ++y) {
                    Pixel::copy(band[y - y0], x, d, Right ? h - 1 - y : y);
                }
            }
        }
    }
}

template <bool Right>
bool turn(ImageBuffer& image, const ProgressFn& progress) {
    if (progress) progress(0);
    const int bits = image.bitCount();
    if (!image.valid() || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) return false;
    ImageBuffer out;
    if (!newdib(out, image.height(), image.width(), bits, image.info, image.tableSize())) {
        if (progress) progress(0);
        return false;
    }
    switch (bits) {
        case 1:
            turnPacked<Pixel1, Right>(image, out, progress);
            break;
        case 4:
            turnPacked<Pixel4, Right>(image, out, progress);
            break;
        case 8:
            turnWholeBytes<1, Right>(image, out, progress);
            break;
        default:
            turnWholeBytes<3, Right>(image, out, progress);
            break;
    }
    image = std::move(out);
    if (progress) progress(0);
    return true;
}

}  // namespace

bool RotLeft(ImageBuffer& image, const ProgressFn& progress) {
    return turn<false>(image, progress);
}

bool RotRight(ImageBuffer& image, const ProgressFn& progress) {
    return turn<true>(image, progress);
}

bool TurnByQuarterTurns(ImageBuffer& image, int quarterTurns, const ProgressFn& progress) {
    switch (((quarterTurns % 4) + 4) % 4) {
        case 1:
            return RotRight(image, progress);
        case 2:
            return RotRight(image, progress) && RotRight(image, progress);
        case 3:
            return RotLeft(image, progress);
        default:
            return true;
    }
}

}  // namespace pr
