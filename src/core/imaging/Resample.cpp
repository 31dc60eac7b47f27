#include "core/imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace pr {
namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
// The horizontal pass keeps 8 bits of fraction: value * 256 fits 16 bits.
constexpr int kPassShift = kWeightBits - 8;

// The source taps of each destination index of one axis (only the indices of the window).
struct AxisTaps {
    std::vector<int32_t> first;   // first source index per destination index
    std::vector<int32_t> count;   // taps per destination index
    std::vector<int32_t> offset;  // where its weights start in `weights`
    std::vector<uint16_t> weights;
    int maxTaps = 1;
};

void addTap(AxisTaps& t, int first, const std::vector<uint16_t>& w) {
    t.first.push_back(first);
    t.count.push_back(static_cast<int32_t>(w.size()));
    t.offset.push_back(static_cast<int32_t>(t.weights.size()));
    t.weights.insert(t.weights.end(), w.begin(), w.end());
    t.maxTaps = std::max(t.maxTaps, static_cast<int>(w.size()));
}

// Area filter: destination index i covers [start + i * scale, start + (i + 1) * scale).
void averageTaps(AxisTaps& t, double start, double length, int size, int dest, int from, int n) {
    const double scale = length / dest;
    std::vector<double> cover;
    std::vector<uint16_t> w;
    for (int i = from; i < from + n; ++i) {
        double a = std::clamp(start + i * scale, 0.0, static_cast<double>(size));
        double b = std::clamp(start + (i + 1) * scale, 0.0, static_cast<double>(size));
        int j0 = static_cast<int>(std::floor(a));
        if (b - a < 1e-9) {
            // Entirely outside the picture: the edge pixel.
            addTap(t, std::clamp(j0, 0, size - 1), {static_cast<uint16_t>(kWeightOne)});
            continue;
        }
        j0 = std::min(j0, size - 1);
        const int j1 = std::min(static_cast<int>(std::ceil(b)), size);  // one past the last
        cover.assign(static_cast<size_t>(j1 - j0), 0.0);
        for (int j = j0; j < j1; ++j) cover[j - j0] = std::min(b, j + 1.0) - std::max(a, double(j));
        // Taps too thin to count (a bound that only touches a pixel) are dropped.
        int lo = 0, hi = static_cast<int>(cover.size());
        while (hi - lo > 1 && cover[lo] * kWeightOne / (b - a) < 0.5) ++lo;
        while (hi - lo > 1 && cover[hi - 1] * kWeightOne / (b - a) < 0.5) --hi;
        w.assign(static_cast<size_t>(hi - lo), 0);
        int sum = 0, largest = 0;
        for (int k = lo; k < hi; ++k) {
            const int v = static_cast<int>(std::lround(cover[k] * kWeightOne / (b - a)));
            w[k - lo] = static_cast<uint16_t>(v);
            sum += v;
            if (v > w[largest]) largest = k - lo;
        }
        // The weights add up to exactly one, so flat areas keep their value.
        w[largest] = static_cast<uint16_t>(w[largest] + (kWeightOne - sum));
        addTap(t, j0 + lo, w);
    }
}

// Bilinear: position (origin + i * step) in 1/1024 source pixels, weights 1024 - f and f.
void bilinearTaps(AxisTaps& t, double start, double length, int size, int dest, int from, int n) {
    const int64_t step = static_cast<int64_t>(std::floor(length * 1024.0 / dest));
    const int64_t origin = std::llround(start * 1024.0);
    for (int i = from; i < from + n; ++i) {
        const int64_t pos = std::max<int64_t>(0, origin + i * step);
        const int j = static_cast<int>(std::min<int64_t>(pos >> 10, size - 1));
        const int f = static_cast<int>(pos & 1023);
        const int j1 = std::min(j + 1, size - 1);
        const auto w0 = static_cast<uint16_t>((1024 - f) << 4);
        const auto w1 = static_cast<uint16_t>(f << 4);
        if (j1 == j)
            addTap(t, j, {static_cast<uint16_t>(w0 + w1)});
        else
            addTap(t, j, {w0, w1});
    }
}

AxisTaps axisTaps(double start, double length, int size, int dest, int from, int n) {
    AxisTaps t;
    if (dest > length + 1e-9)
        bilinearTaps(t, start, length, size, dest, from, n);
    else
        averageTaps(t, start, length, size, dest, from, n);
    return t;
}

// Source rows as blue, green, red bytes, palette pictures expanded through their colour table.
class RowReader {
public:
    explicit RowReader(const ImageBuffer& picture) : picture_(picture) {
        if (picture.bitCount() != 24) scratch_.resize(static_cast<size_t>(picture.width()) * 3);
    }

    const uint8_t* row(int y) {
        const uint8_t* in = picture_.rowFromTop(y);
        const int bits = picture_.bitCount();
        if (bits == 24) return in;
        const RgbQuad* table = picture_.info->colors;
        uint8_t* out = scratch_.data();
        for (int x = 0; x < picture_.width(); ++x, out += 3) {
            int index;
            if (bits == 8)
                index = in[x];
            else if (bits == 4)
                index = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
            else
                index = (in[x >> 3] >> (7 - (x & 7))) & 1;
            out[0] = table[index].blue;
            out[1] = table[index].green;
            out[2] = table[index].red;
        }
        return scratch_.data();
    }

private:
    const ImageBuffer& picture_;
    std::vector<uint8_t> scratch_;
};

// The taps of an axis with the same count for every destination index (the largest), shorter
// ones padded with zero weights, so the inner loops have a fixed length.
struct PaddedTaps {
    int n = 1;
    std::vector<int32_t> first;
    std::vector<uint16_t> weights;  // n per destination index
};

PaddedTaps padded(const AxisTaps& t, int size) {
    PaddedTaps p;
    p.n = std::min(t.maxTaps, size);
    const size_t count = t.first.size();
    p.first.resize(count);
    p.weights.assign(count * static_cast<size_t>(p.n), 0);
    for (size_t i = 0; i < count; ++i) {
        // Moved back where the padding would pass the last source index.
        const int first = std::min(t.first[i], size - p.n);
        p.first[i] = first;
        for (int k = 0; k < t.count[i]; ++k)
            p.weights[i * p.n + (t.first[i] - first) + k] = t.weights[t.offset[i] + k];
    }
    return p;
}

template <int N>
void horizontalPassN(const uint8_t* in, const PaddedTaps& h, int taps, uint16_t* out) {
    const int n = N > 0 ? N : taps;
    const size_t count = h.first.size();
    const int32_t* first = h.first.data();
    const uint16_t* w = h.weights.data();
    constexpr uint32_t bias = 1u << (kPassShift - 1);
    for (size_t i = 0; i < count; ++i, w += n, out += 3) {
        const uint8_t* p = in + 3 * static_cast<size_t>(first[i]);
        uint32_t b = bias, g = bias, r = bias;
        for (int k = 0; k < n; ++k) {
            b += w[k] * uint32_t(p[3 * k]);
            g += w[k] * uint32_t(p[3 * k + 1]);
            r += w[k] * uint32_t(p[3 * k + 2]);
        }
        out[0] = static_cast<uint16_t>(b >> kPassShift);
        out[1] = static_cast<uint16_t>(g >> kPassShift);
        out[2] = static_cast<uint16_t>(r >> kPassShift);
    }
}

void horizontalPass(const uint8_t* in, const PaddedTaps& h, uint16_t* out) {
    switch (h.n) {
        case 1:
            return horizontalPassN<1>(in, h, 1, out);
        case 2:
            return horizontalPassN<2>(in, h, 2, out);
        case 3:
            return horizontalPassN<3>(in, h, 3, out);
        case 4:
            return horizontalPassN<4>(in, h, 4, out);
        default:
            return horizontalPassN<0>(in, h, h.n, out);
    }
}

template <int N>
void verticalPassN(const uint16_t* const* rows, const uint16_t* w, int taps, size_t values,
                   uint8_t* out) {
    const int n = N > 0 ? N : taps;
    constexpr uint32_t bias = 1u << (kWeightBits + 8 - 1);
    for (size_t i = 0; i < values; ++i) {
        uint32_t acc = bias;
        for (int k = 0; k < n; ++k) acc += w[k] * uint32_t(rows[k][i]);
        out[i] = static_cast<uint8_t>(std::min<uint32_t>(acc >> (kWeightBits + 8), 255));
    }
}

void verticalPass(const uint16_t* const* rows, const uint16_t* w, int taps, size_t values,
                  uint8_t* out) {
    switch (taps) {
        case 1:
            return verticalPassN<1>(rows, w, 1, values, out);
        case 2:
            return verticalPassN<2>(rows, w, 2, values, out);
        case 3:
            return verticalPassN<3>(rows, w, 3, values, out);
        case 4:
            return verticalPassN<4>(rows, w, 4, values, out);
        default:
            return verticalPassN<0>(rows, w, taps, values, out);
    }
}

// Runs both passes and hands each finished destination row (blue, green, red bytes of the
// window's width) to `emit`.
template <class Emit>
bool resample(const ImageBuffer& picture, const SourceRect& source, int destWidth, int destHeight,
              const DestWindow& window, Emit emit) {
    const int bits = picture.bitCount();
    if (!picture.valid() || picture.width() <= 0 || picture.height() <= 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return false;
    if (!(source.width > 0) || !(source.height > 0) || destWidth <= 0 || destHeight <= 0 ||
        window.width <= 0 || window.height <= 0 || window.x < 0 || window.y < 0 ||
        window.x + window.width > destWidth || window.y + window.height > destHeight)
        return false;

    const PaddedTaps h =
        padded(axisTaps(source.x, source.width, picture.width(), destWidth, window.x, window.width),
               picture.width());
    const PaddedTaps v = padded(
        axisTaps(source.y, source.height, picture.height(), destHeight, window.y, window.height),
        picture.height());
    const size_t rowValues = 3 * static_cast<size_t>(window.width);

    // A ring of horizontally resampled source rows: rows are asked for in increasing order and
    // one destination row never needs more than v.n of them.
    const int ringSize = v.n;
    std::vector<uint16_t> ring(rowValues * static_cast<size_t>(ringSize));
    std::vector<int> ringRow(static_cast<size_t>(ringSize), -1);
    std::vector<const uint16_t*> rows(static_cast<size_t>(ringSize));
    std::vector<uint8_t> line(rowValues);
    RowReader reader(picture);

    for (int j = 0; j < window.height; ++j) {
        const int first = v.first[j];
        for (int k = 0; k < v.n; ++k) {
            const int row = first + k;
            const int slot = row % ringSize;
            uint16_t* values = ring.data() + rowValues * static_cast<size_t>(slot);
            if (ringRow[slot] != row) {
                horizontalPass(reader.row(row), h, values);
                ringRow[slot] = row;
            }
            rows[k] = values;
        }
        verticalPass(rows.data(), v.weights.data() + static_cast<size_t>(j) * v.n, v.n, rowValues,
                     line.data());
        emit(j, line.data());
    }
    return true;
}

}  // namespace

bool resampleToRendition(const ImageBuffer& picture, const SourceRect& source, int destWidth,
                         int destHeight, const DestWindow& window, Rendition& out) {
    Rendition made;
    if (window.width <= 0 || window.height <= 0 ||
        !makeRendition(made, window.width, window.height))
        return false;
    const bool ok =
        resample(picture, source, destWidth, destHeight, window, [&made](int y, const uint8_t* p) {
            uint32_t* o = made.row(y);
            for (int x = 0; x < made.width; ++x, p += 3) o[x] = renditionPixel(p[2], p[1], p[0]);
        });
    if (!ok) return false;
    out.width = made.width;
    out.height = made.height;
    out.stride = made.stride;
    out.pixels = made.pixels;
    out.block = std::move(made.block);
    return true;
}

bool resampleToImage(const ImageBuffer& picture, const SourceRect& source, int destWidth,
                     int destHeight, ImageBuffer& out) {
    ImageBuffer made;
    if (!newdib(made, destWidth, destHeight, 24)) return false;
    const DestWindow whole{0, 0, destWidth, destHeight};
    const size_t rowBytes = 3 * static_cast<size_t>(destWidth);
    const bool ok = resample(picture, source, destWidth, destHeight, whole,
                             [&made, rowBytes](int y, const uint8_t* p) {
                                 std::memcpy(made.rowFromTop(y), p, rowBytes);
                             });
    if (!ok) return false;
    out = std::move(made);
    return true;
}

}  // namespace pr
