#include "core/imaging/codecs/BmpPixels.h"

#include <algorithm>

namespace pr {

namespace {

struct RleWriter {
    ImageBuffer& img;
    bool rle4;
    bool topDown;
    int64_t x = 0, y = 0;  // y counts rows in file order (bottom first unless top-down)

    bool done() const { return y >= img.height(); }
    void put(uint8_t index) {
        if (x < img.width() && y < img.height()) {
            uint8_t* row = img.storedRow(static_cast<int>(topDown ? img.height() - 1 - y : y));
            if (rle4) {
                uint8_t& b = row[x >> 1];
                b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (index & 0x0F))
                            : static_cast<uint8_t>((b & 0x0F) | (index << 4));
            } else {
                row[x] = index;
            }
        }
        ++x;
    }
};

}  // namespace

void decodeBmpRle(const uint8_t* data, size_t size, bool rle4, bool topDown, ImageBuffer& img) {
    RleWriter w{img, rle4, topDown};
    const int64_t width = img.width();
    size_t pos = 0;
    while (pos + 2 <= size && !w.done()) {
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            // A run past the row end is clipped; writers never continue it on the next row.
            const int n =
                static_cast<int>(std::min<int64_t>(count, width - w.x > 0 ? width - w.x : 0));
            for (int i = 0; i < n; ++i) w.put(rle4 ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            w.x += count - n;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                w.x = 0;
                ++w.y;
                break;
            case 1:  // end of bitmap
                return;
            case 2:  // delta
                if (pos + 2 > size) return;
                w.x += data[pos];
                w.y += data[pos + 1];
                pos += 2;
                break;
            default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const size_t bytes = rle4 ? (value + 1u) / 2 : value;
                const size_t padded = (bytes + 1) & ~size_t{1};
                const size_t have = std::min(bytes, size - pos);
                for (int i = 0; i < value; ++i) {
                    const size_t b = rle4 ? static_cast<size_t>(i) / 2 : static_cast<size_t>(i);
                    if (b >= have) return;
                    const uint8_t byte = data[pos + b];
                    if (w.x >= width) {
                        w.x += value - i;
                        break;
                    }
                    w.put(rle4 ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
                }
                pos += std::min(padded, size - pos);
                break;
            }
        }
    }
}

void convertBitfieldRow(const uint8_t* src, int count, int bits, const uint32_t masks[3],
                        uint8_t* dst) {
    int shift[3];
    uint32_t maxv[3];
    for (int c = 0; c < 3; ++c) {
        uint32_t m = masks[c];
        int s = 0;
        if (m)
            while (!(m & 1u)) m >>= 1, ++s;
        shift[c] = s;
        maxv[c] = m;
    }
    const bool plain32 =
        bits == 32 && masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF;
    for (int i = 0; i < count; ++i) {
        if (plain32) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            src += 4;
            dst += 3;
            continue;
        }
        uint32_t v;
        if (bits == 16) {
            v = src[0] | (src[1] << 8);
            src += 2;
        } else {
            v = src[0] | (src[1] << 8) | (src[2] << 16) | (static_cast<uint32_t>(src[3]) << 24);
            src += 4;
        }
        // Red, green, blue masks in, blue, green, red bytes out.
        for (int c = 0; c < 3; ++c) {
            const uint32_t part = (v & masks[c]) >> shift[c];
            dst[2 - c] = maxv[c] ? static_cast<uint8_t>(
                                       (static_cast<uint64_t>(part) * 255 + maxv[c] / 2) / maxv[c])
                                 : 0;
        }
        dst += 3;
    }
}

}  // namespace pr
