#include "core/imaging/Halftone.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/imaging/ImageError.h"
#include "core/imaging/RasterLibrary.h"

namespace pr {

namespace {

constexpr int kGreySteps = 45;  // 46 greys; every ninth one is a grey of the colour cube
constexpr int kGreysPerCubeStep = kGreySteps / (kHalftoneCubeLevels - 1);
// A pixel whose channels differ by at most this much is dithered on the grey ramp. About one step
// of the ramp: the colour it gives up is below what a 256-colour screen can show anyway.
constexpr int kNeutralSpread = 6;

struct Tables {
    BitmapInfo colors;
    PaletteHandle palette;
    // Indexed by dither cell (row * 8 + column) and channel value.
    uint8_t cubeLevel[64][256];  // 0..5
    uint8_t greyIndex[64][256];  // palette index
};

int greyRampIndex(int k) {
    const int cubeStep = k / kGreysPerCubeStep;
    const int between = k % kGreysPerCubeStep;
    if (between == 0) return cubeStep * (36 + 6 + 1);
    return kHalftoneFirstGrey + cubeStep * (kGreysPerCubeStep - 1) + between - 1;
}

std::unique_ptr<Tables> makeTables() {
    auto t = std::make_unique<Tables>();
    BitmapInfoHeader& h = t->colors.header;
    h.biWidth = 1;
    h.biHeight = 1;
    h.biBitCount = 8;
    h.biClrUsed = 256;
    for (int r = 0; r < kHalftoneCubeLevels; ++r)
        for (int g = 0; g < kHalftoneCubeLevels; ++g)
            for (int b = 0; b < kHalftoneCubeLevels; ++b)
                t->colors.colors[36 * r + 6 * g + b] =
                    RgbQuad{static_cast<uint8_t>(51 * b), static_cast<uint8_t>(51 * g),
                            static_cast<uint8_t>(51 * r), 0};
    int greyLevel[kGreySteps + 1];
    for (int k = 0; k <= kGreySteps; ++k) {
        greyLevel[k] = (255 * k + kGreySteps / 2) / kGreySteps;
        const auto v = static_cast<uint8_t>(greyLevel[k]);
        t->colors.colors[greyRampIndex(k)] = RgbQuad{v, v, v, 0};
    }

    auto palette = std::make_shared<LogPalette>();
    palette->numEntries = 256;
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& q = t->colors.colors[i];
        palette->entries[i] = PaletteEntry{q.red, q.green, q.blue, 0};
    }
    t->palette = std::move(palette);

    // 8 x 8 Bayer matrix, built by the usual doubling, turned into thresholds spread evenly over
    // 1..253 so that a remainder r of 255 rounds up in r/255 of the cells.
    int bayer[8][8] = {{0}};
    for (int size = 1; size < 8; size *= 2)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int v = 4 * bayer[y][x];
                bayer[y][x] = v;
                bayer[y][x + size] = v + 2;
                bayer[y + size][x] = v + 3;
                bayer[y + size][x + size] = v + 1;
            }
    for (int cell = 0; cell < 64; ++cell) {
        const int threshold = (2 * bayer[cell / 8][cell % 8] + 1) * 255 / 128;
        for (int v = 0; v < 256; ++v) {
            const int cube = v * (kHalftoneCubeLevels - 1);
            t->cubeLevel[cell][v] =
                static_cast<uint8_t>(cube / 255 + (cube % 255 > threshold ? 1 : 0));
            // The ramp's greys are rounded to whole values, so dither between the two greys
            // that enclose v as they are stored: greys of the palette then come out unchanged.
            int k = v * kGreySteps / 255;
            while (k < kGreySteps && greyLevel[k + 1] <= v) ++k;
            while (greyLevel[k] > v) --k;
            const int up = k < kGreySteps &&
                           (v - greyLevel[k]) * 255 / (greyLevel[k + 1] - greyLevel[k]) > threshold;
            t->greyIndex[cell][v] = static_cast<uint8_t>(greyRampIndex(k + (up ? 1 : 0)));
        }
    }
    return t;
}

const Tables& tables() {
    static const std::unique_ptr<Tables> t = makeTables();
    return *t;
}

// One row of blue-green-red pixels to palette indexes; `y` picks the dither row.
void ditherRow(const uint8_t* bgr, int width, int y, uint8_t* out, const Tables& t) {
    const int cellRow = (y & 7) * 8;
    for (int x = 0; x < width; ++x, bgr += 3) {
        const int cell = cellRow + (x & 7);
        const int b = bgr[0], g = bgr[1], r = bgr[2];
        const int hi = std::max(r, std::max(g, b));
        const int lo = std::min(r, std::min(g, b));
        if (hi - lo <= kNeutralSpread) {
            out[x] = t.greyIndex[cell][(r + g + b + 1) / 3];
        } else {
            out[x] = static_cast<uint8_t>(36 * t.cubeLevel[cell][r] + 6 * t.cubeLevel[cell][g] +
                                          t.cubeLevel[cell][b]);
        }
    }
}

// Rows of the source as blue-green-red, counted from the top; palette pictures are expanded
// through their colour table into a scratch row.
class BgrRows {
public:
    explicit BgrRows(const ImageBuffer& source) : source_(source) {
        if (source.bitCount() != 24) scratch_.resize(static_cast<size_t>(source.width()) * 3);
    }

    const uint8_t* row(int y) {
        const uint8_t* in = source_.rowFromTop(y);
        if (source_.bitCount() == 24) return in;
        const RgbQuad* table = source_.info->colors;
        const int width = source_.width();
        uint8_t* out = scratch_.data();
        for (int x = 0; x < width; ++x, out += 3) {
            int index;
            switch (source_.bitCount()) {
                case 1:
                    index = (in[x >> 3] >> (7 - (x & 7))) & 1;
                    break;
                case 4:
                    index = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
                    break;
                default:
                    index = in[x];
                    break;
            }
            const RgbQuad& q = table[index];
            out[0] = q.blue;
            out[1] = q.green;
            out[2] = q.red;
        }
        return scratch_.data();
    }

private:
    const ImageBuffer& source_;
    std::vector<uint8_t> scratch_;
};

// Which source pixels make destination pixel i along one axis: a run of `count` from `first`.
// Reducing, the runs tile the source (area average); otherwise one pixel, the nearest to the
// centre.
struct Span {
    int first;
    int count;
    bool operator==(const Span& o) const { return first == o.first && count == o.count; }
};

std::vector<Span> spans(int sourceLength, int destLength) {
    std::vector<Span> out(static_cast<size_t>(destLength));
    const int64_t s = sourceLength, d = destLength;
    for (int64_t i = 0; i < d; ++i) {
        if (d < s) {
            const int64_t first = i * s / d;
            out[i] = Span{static_cast<int>(first), static_cast<int>((i + 1) * s / d - first)};
        } else {
            out[i] = Span{static_cast<int>((2 * i + 1) * s / (2 * d)), 1};
        }
    }
    return out;
}

bool fail(ImageBuffer& dest, const ImageBuffer& source, const std::string& text) {
    if (&dest != &source) {
        deldib(dest);
        dest.message = text;
    }
    return false;
}

}  // namespace

const BitmapInfo& halftoneColorTable() {
    return tables().colors;
}
const PaletteHandle& halftonePalette() {
    return tables().palette;
}

bool DIBHalftoneDIB(ImageBuffer& dest, const ImageBuffer& source) {
    return DIBHalftoneDIBXY(dest, source, source.width(), source.height());
}

bool DIBHalftoneDIBXY(ImageBuffer& dest, const ImageBuffer& source, int width, int height) {
    const int bits = source.bitCount();
    if (!source.valid() || (bits != 1 && bits != 4 && bits != 8 && bits != 24) || width <= 0 ||
        height <= 0)
        return fail(dest, source, imageErrorText(ImageError::Damaged));
    const Tables& t = tables();
    ImageBuffer out;
    if (!newdib(out, width, height, 8, &t.colors, 256)) return fail(dest, source, out.message);
    out.paletteHandle = t.palette;

    const int sourceWidth = source.width();
    const std::vector<Span> xs = spans(sourceWidth, width);
    const std::vector<Span> ys = spans(source.height(), height);
    const bool sameWidth = sourceWidth == width;
    const bool reduceWidth = width < sourceWidth;
    BgrRows rows(source);
    std::vector<uint8_t> line(static_cast<size_t>(width) * 3);
    std::vector<uint64_t> sums;
    Span lineSpan{-1, 0};  // the source rows `line` was made from

    for (int y = 0; y < height; ++y) {
        const Span sy = ys[y];
        const uint8_t* bgr = line.data();
        if (sy.count == 1 && sameWidth) {
            bgr = rows.row(sy.first);
        } else if (sy == lineSpan) {
            // an enlarged row repeats: `line` already holds it
        } else if (sy.count == 1 && !reduceWidth) {
            const uint8_t* in = rows.row(sy.first);
            uint8_t* o = line.data();
            for (int x = 0; x < width; ++x, o += 3) {
                const uint8_t* p = in + 3 * static_cast<size_t>(xs[x].first);
                o[0] = p[0];
                o[1] = p[1];
                o[2] = p[2];
            }
            lineSpan = sy;
        } else {
            sums.assign(static_cast<size_t>(width) * 3, 0);
            for (int r = sy.first; r < sy.first + sy.count; ++r) {
                const uint8_t* in = rows.row(r);
                uint64_t* acc = sums.data();
                for (int x = 0; x < width; ++x, acc += 3) {
                    const uint8_t* p = in + 3 * static_cast<size_t>(xs[x].first);
                    const uint8_t* end = p + 3 * static_cast<size_t>(xs[x].count);
                    uint32_t b = 0, g = 0, red = 0;
                    for (; p != end; p += 3) {
                        b += p[0];
                        g += p[1];
                        red += p[2];
                    }
                    acc[0] += b;
                    acc[1] += g;
                    acc[2] += red;
                }
            }
            uint8_t* o = line.data();
            const uint64_t* acc = sums.data();
            for (int x = 0; x < width; ++x, o += 3, acc += 3) {
                const uint64_t n = static_cast<uint64_t>(xs[x].count) * sy.count;
                o[0] = static_cast<uint8_t>((acc[0] + n / 2) / n);
                o[1] = static_cast<uint8_t>((acc[1] + n / 2) / n);
                o[2] = static_cast<uint8_t>((acc[2] + n / 2) / n);
            }
            lineSpan = sy;
        }
        ditherRow(bgr, width, y, out.rowFromTop(y), t);
    }

    dest = std::move(out);  // only now: `dest` may be `source`
    return true;
}

}  // namespace pr
