#include "core/imaging/Orientation.h"

#include <algorithm>
#include <utility>

#include "core/imaging/Rotate.h"

namespace pr {
namespace {

// Whole bytes per pixel: swaps pixels from both ends of the row.
template <int N>
void mirrorBytes(uint8_t* row, int width) {
    uint8_t* a = row;
    uint8_t* b = row + static_cast<int64_t>(width - 1) * N;
    for (; a < b; a += N, b -= N)
        for (int k = 0; k < N; ++k) std::swap(a[k], b[k]);
}

// 1 and 4 bits: pixel values taken out and put back from the other end.
template <int Bits>
void mirrorPacked(uint8_t* row, int width) {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    auto shiftOf = [](int x) { return 8 - Bits * (x % kPerByte + 1); };
    auto get = [&](int x) { return (row[x / kPerByte] >> shiftOf(x)) & kMask; };
    auto put = [&](int x, unsigned v) {
        uint8_t& byte = row[x / kPerByte];
        byte = static_cast<uint8_t>((byte & ~(kMask << shiftOf(x))) | (v << shiftOf(x)));
    };
    for (int a = 0, b = width - 1; a < b; ++a, --b) {
        const unsigned va = get(a), vb = get(b);
        put(a, vb);
        put(b, va);
    }
}

void mirror(ImageBuffer& img) {
    for (int r = 0; r < img.height(); ++r) {
        uint8_t* row = img.storedRow(r);
        switch (img.bitCount()) {
            case 1:
                mirrorPacked<1>(row, img.width());
                break;
            case 4:
                mirrorPacked<4>(row, img.width());
                break;
            case 8:
                mirrorBytes<1>(row, img.width());
                break;
            default:
                mirrorBytes<3>(row, img.width());
                break;
        }
    }
}

void flipVertical(ImageBuffer& img) {
    for (int top = 0, bottom = img.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(img.storedRow(top), img.storedRow(top) + img.rowBytes,
                         img.storedRow(bottom));
}

}  // namespace

bool applyOrientation(ImageBuffer& img, int orientation) {
    const int bits = img.bitCount();
    if (!img.valid() || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) return true;
    switch (orientation) {
        case 2:
            mirror(img);
            return true;
        case 3:
            mirror(img);
            flipVertical(img);
            return true;
        case 4:
            flipVertical(img);
            return true;
        // The quarter turns are tiled and use both cores; a transposition is a quarter turn and a
        // flip of the turned rows.
        case 5:
        case 7:
            if (!(orientation == 5 ? RotLeft(img) : RotRight(img))) return false;
            flipVertical(img);
            return true;
        case 6:
            return RotRight(img);
        case 8:
            return RotLeft(img);
        default:
            return true;
    }
}

}  // namespace pr
