#include "core/imaging/Resize.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace pr {
namespace {

// Below this many result pixels a second thread costs more than it saves.
constexpr int64_t kParallelPixels = 1 << 18;
constexpr int kChunkRows = 32;

int rowPercent(int row, int rows) {
    return rows > 1 ? static_cast<int>(static_cast<int64_t>(row) * 100 / (rows - 1)) : 0;
}

// Calls a per-thread row worker for every result row. Each thread makes its own worker from
// `makeWorker`, so workers may keep scratch rows without locking. Rows are handed out in chunks in
// increasing order; progress is reported only from the calling thread, which is the window thread.
template <class MakeWorker>
void forEachRow(int rows, int64_t pixelsPerRow, const ProgressFn& progress, MakeWorker makeWorker) {
    const bool parallel = std::thread::hardware_concurrency() >= 2 && rows >= 2 * kChunkRows &&
                          static_cast<int64_t>(rows) * pixelsPerRow >= kParallelPixels;
    if (!parallel) {
        auto worker = makeWorker();
        for (int y = 0; y < rows; ++y) {
            if (progress) progress(rowPercent(y, rows));
            worker(y);
        }
        return;
    }
    std::atomic<int> next{0};
    auto run = [&](bool report) {
        auto worker = makeWorker();
        for (;;) {
            const int y0 = next.fetch_add(kChunkRows);
            if (y0 >= rows) break;
            if (report && progress) progress(rowPercent(y0, rows));
            const int y1 = std::min(rows, y0 + kChunkRows);
            for (int y = y0; y < y1; ++y) worker(y);
        }
    };
    std::thread helper;
    try {
        helper = std::thread(run, false);
    } catch (const std::system_error&) {
        // No thread to be had: this thread simply does all rows.
    }
    run(true);
    if (helper.joinable()) helper.join();
}

struct Column {
    int32_t sx;   // sampled source column
    int32_t sx3;  // its byte offset in a 24-bit row
    int32_t x13;  // byte offset of the right neighbour, clamped to the last column
    int32_t fx;   // fraction towards the neighbour, 0..1023
};

// Bilinear enlargement of 24-bit pictures. The horizontal pass of a source row is the same for
// every result row that reads it, so each worker keeps the last two passes and only the vertical
// blend runs per result row.
class BilinearRows {
public:
    BilinearRows(const ImageBuffer& src, const ImageBuffer& dst, const std::vector<Column>& cols,
                 int64_t stepY)
        : src_(src),
          dst_(dst),
          cols_(cols),
          stepY_(stepY),
          n_(3 * static_cast<size_t>(dst.width())),
          top_(n_),
          bottom_(n_) {}

    void operator()(int y) {
        const int64_t pos = y * stepY_;
        const int sy = static_cast<int>(pos >> 10);
        const uint32_t fy = static_cast<uint32_t>(pos & 1023);
        const int y1 = std::min(sy + 1, src_.height() - 1);
        if (topRow_ != sy) {
            if (bottomRow_ == sy) {
                std::swap(top_, bottom_);
                std::swap(topRow_, bottomRow_);
            } else {
                horizontal(sy, top_);
                topRow_ = sy;
            }
        }
        if (bottomRow_ != y1) {
            if (y1 == topRow_) {
                bottom_ = top_;
            } else {
                horizontal(y1, bottom_);
            }
            bottomRow_ = y1;
        }
        const uint32_t wy = 1023 - fy;
        const uint16_t* t = top_.data();
        const uint16_t* b = bottom_.data();
        uint8_t* out = dst_.storedRow(y);
        for (size_t i = 0; i < n_; ++i) {
            out[i] = static_cast<uint8_t>((t[i] * wy + b[i] * fy) >> 10);
        }
    }

private:
    void horizontal(int row, std::vector<uint16_t>& into) const {
        const uint8_t* r = src_.storedRow(row);
        uint16_t* h = into.data();
        for (const Column& c : cols_) {
            const uint32_t wx = 1023 - static_cast<uint32_t>(c.fx);
            const uint32_t fx = static_cast<uint32_t>(c.fx);
            const uint8_t* a = r + c.sx3;
            const uint8_t* b = r + c.x13;
            h[0] = static_cast<uint16_t>((a[0] * wx + b[0] * fx) >> 10);
            h[1] = static_cast<uint16_t>((a[1] * wx + b[1] * fx) >> 10);
            h[2] = static_cast<uint16_t>((a[2] * wx + b[2] * fx) >> 10);
            h += 3;
        }
    }

    const ImageBuffer& src_;
    const ImageBuffer& dst_;
    const std::vector<Column>& cols_;
    const int64_t stepY_;
    const size_t n_;
    std::vector<uint16_t> top_, bottom_;
    int topRow_ = -1, bottomRow_ = -1;
};

// Nearest neighbour for 8 and 24 bits; a result row that samples the same source row as the row
// before it is a copy of that row.
class NearestRows {
public:
    NearestRows(const ImageBuffer& src, const ImageBuffer& dst, const std::vector<Column>& cols,
                int64_t stepY)
        : src_(src), dst_(dst), cols_(cols), stepY_(stepY) {}

    void operator()(int y) {
        const int sy = static_cast<int>((y * stepY_) >> 10);
        uint8_t* out = dst_.storedRow(y);
        if (y == lastY_ + 1 && sy == lastSy_) {
            std::memcpy(out, dst_.storedRow(lastY_), static_cast<size_t>(dst_.rowBytes));
        } else {
            const uint8_t* in = src_.storedRow(sy);
            if (src_.bitCount() == 24) {
                for (const Column& c : cols_) {
                    out[0] = in[c.sx3];
                    out[1] = in[c.sx3 + 1];
                    out[2] = in[c.sx3 + 2];
                    out += 3;
                }
            } else {
                for (const Column& c : cols_) *out++ = in[c.sx];
            }
        }
        lastY_ = y;
        lastSy_ = sy;
    }

private:
    const ImageBuffer& src_;
    const ImageBuffer& dst_;
    const std::vector<Column>& cols_;
    const int64_t stepY_;
    int lastY_ = -2, lastSy_ = -1;
};

}  // namespace

bool Resize(const ImageBuffer& sourceIn, int newW, int newH, bool smooth, ImageBuffer& result,
            const ProgressFn& progress) {
    if (progress) progress(0);
    // Our own share of the source, so that Resize(image, ..., image) cannot release it first.
    const ImageBuffer source = sourceIn;
    deldib(result);
    const int bits = source.bitCount();
    if (!source.valid() || newW <= 0 || newH <= 0 || source.width() <= 0 || source.height() <= 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24)) {
        return false;
    }
    if (!newdib(result, newW, newH, bits, source.info, source.tableSize())) {
        if (progress) progress(0);
        return false;
    }

    const int w = source.width();
    const int h = source.height();
    const int64_t stepX = static_cast<int64_t>(w) * 1024 / newW;
    const int64_t stepY = static_cast<int64_t>(h) * 1024 / newH;

    std::vector<Column> cols(static_cast<size_t>(newW));
    for (int x = 0; x < newW; ++x) {
        const int64_t pos = x * stepX;
        Column& c = cols[static_cast<size_t>(x)];
        c.sx = static_cast<int32_t>(pos >> 10);
        c.sx3 = 3 * c.sx;
        c.x13 = 3 * std::min(c.sx + 1, w - 1);
        c.fx = static_cast<int32_t>(pos & 1023);
    }

    const ImageBuffer& src = source;
    const ImageBuffer& dst = result;
    switch (bits) {
        case 1:
            // Rows counted from the top here, as the per-pixel access of 1-bit pictures does.
            forEachRow(newH, newW, progress, [&] {
                return [&](int y) {
                    const uint8_t* in = src.rowFromTop(static_cast<int>((y * stepY) >> 10));
                    uint8_t* out = dst.rowFromTop(y);
                    for (int x = 0; x < newW; ++x) {
                        const int sx = cols[static_cast<size_t>(x)].sx;
                        if ((in[sx >> 3] >> (7 - (sx & 7))) & 1) {
                            out[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
                        }
                    }
                };
            });
            break;
        case 4:
            forEachRow(newH, newW, progress, [&] {
                return [&](int y) {
                    const uint8_t* in = src.storedRow(static_cast<int>((y * stepY) >> 10));
                    uint8_t* out = dst.storedRow(y);
                    for (int x = 0; x < newW; ++x) {
                        const int sx = cols[static_cast<size_t>(x)].sx;
                        const uint8_t byte = in[sx >> 1];
                        const uint8_t nibble = (sx & 1) ? (byte & 0x0Fu) : (byte >> 4);
                        out[x >> 1] |= (x & 1) ? nibble : static_cast<uint8_t>(nibble << 4);
                    }
                };
            });
            break;
        case 8:
            forEachRow(newH, newW, progress, [&] { return NearestRows(src, dst, cols, stepY); });
            break;
        default:
            if (smooth && newW >= w && newH >= h) {
                forEachRow(newH, newW, progress,
                           [&] { return BilinearRows(src, dst, cols, stepY); });
            } else {
                forEachRow(newH, newW, progress,
                           [&] { return NearestRows(src, dst, cols, stepY); });
            }
            break;
    }
    if (progress) progress(0);
    return true;
}

}  // namespace pr
