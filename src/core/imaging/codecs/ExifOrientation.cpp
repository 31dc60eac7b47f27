#include "core/imaging/codecs/ExifOrientation.h"

#include "core/imaging/Rotate.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pr {

int exifOrientation(const uint8_t* data, size_t size) {
    static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (!data || size < 6 + 8 || std::memcmp(data, kExif, 6) != 0) return 1;
    const uint8_t* tiff = data + 6;
    const size_t len = size - 6;
    bool little;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        little = true;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        little = false;
    else
        return 1;
    auto u16 = [&](size_t at) -> uint32_t {
        return little ? tiff[at] | (tiff[at + 1] << 8) : (tiff[at] << 8) | tiff[at + 1];
    };
    auto u32 = [&](size_t at) -> uint32_t {
        return little ? u16(at) | (u16(at + 2) << 16) : (u16(at) << 16) | u16(at + 2);
    };
    if (u16(2) != 42) return 1;
    const uint32_t ifd = u32(4);
    if (ifd < 8 || ifd > len - 2) return 1;
    const uint32_t entries = u16(ifd);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = ifd + 2 + static_cast<size_t>(i) * 12;
        if (at + 12 > len) return 1;
        if (u16(at) != 0x0112) continue;
        // SHORT, one value, kept in the first two bytes of the value field.
        if (u16(at + 2) != 3 || u32(at + 4) < 1) return 1;
        const uint32_t v = u16(at + 8);
        return v >= 1 && v <= 8 ? static_cast<int>(v) : 1;
    }
    return 1;
}

namespace {

template <int N>
void mirrorRow(uint8_t* row, int width) {
    uint8_t* a = row;
    uint8_t* b = row + static_cast<int64_t>(width - 1) * N;
    while (a < b) {
        for (int k = 0; k < N; ++k) std::swap(a[k], b[k]);
        a += N;
        b -= N;
    }
}

template <int N>
void mirrorAll(ImageBuffer& img) {
    for (int r = 0; r < img.height(); ++r) mirrorRow<N>(img.storedRow(r), img.width());
}

void flipVertical(ImageBuffer& img) {
    for (int top = 0, bottom = img.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(img.storedRow(top), img.storedRow(top) + img.rowBytes,
                         img.storedRow(bottom));
}

// Orientations 5 and 7 (turn plus mirror): dst(x', y') = src(sx, sy) with (sx, sy) an affine
// function of (x', y') that swaps the axes.
// Worked in square tiles so both the rows read and the rows written stay in cache.
template <int N>
void transposeInto(const ImageBuffer& src, ImageBuffer& dst, int orientation) {
    const int W = src.width(), H = src.height();  // stored picture
    const int dw = dst.width(), dh = dst.height();
    constexpr int kTile = 64;
    for (int ty = 0; ty < dh; ty += kTile) {
        const int yEnd = std::min(dh, ty + kTile);
        for (int tx = 0; tx < dw; tx += kTile) {
            const int xEnd = std::min(dw, tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                uint8_t* out = dst.rowFromTop(y) + static_cast<int64_t>(tx) * N;
                // Along a destination row, x' walks the stored rows; sx stays fixed.
                int sx = 0, sy0 = 0, step = 0;
                if (orientation == 5) {
                    sx = y;
                    sy0 = tx;
                    step = 1;
                } else {  // 7
                    sx = W - 1 - y;
                    sy0 = H - 1 - tx;
                    step = -1;
                }
                const int64_t rowStep =
                    -static_cast<int64_t>(step) * src.rowBytes;  // top-down walk
                const uint8_t* in = src.rowFromTop(sy0) + static_cast<int64_t>(sx) * N;
                for (int x = tx; x < xEnd; ++x) {
                    for (int k = 0; k < N; ++k) out[k] = in[k];
                    out += N;
                    in += rowStep;
                }
            }
        }
    }
}

}  // namespace

bool applyExifOrientation(ImageBuffer& img, int orientation) {
    const int bpp = img.bitCount() == 24 ? 3 : 1;
    if (!img.valid() || (img.bitCount() != 8 && img.bitCount() != 24)) return true;
    switch (orientation) {
        case 2:
            bpp == 3 ? mirrorAll<3>(img) : mirrorAll<1>(img);
            return true;
        case 3:
            bpp == 3 ? mirrorAll<3>(img) : mirrorAll<1>(img);
            flipVertical(img);
            return true;
        case 4:
            flipVertical(img);
            return true;
        // The common camera turns use the quarter-turn code, which is tiled and uses both cores.
        case 6:
            return RotRight(img);
        case 8:
            return RotLeft(img);
        case 5:
        case 7:
            break;
        default:
            return true;
    }
    ImageBuffer turned;
    if (!newdib(turned, img.height(), img.width(), img.bitCount(), img.info, img.tableSize()))
        return false;
    if (bpp == 3)
        transposeInto<3>(img, turned, orientation);
    else
        transposeInto<1>(img, turned, orientation);
    img = std::move(turned);
    return true;
}

}  // namespace pr
