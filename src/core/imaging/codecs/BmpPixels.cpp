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

namespace {

// One channel of a bit-field pixel: where it sits and how its values widen to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask) : mask_(mask) {
        uint32_t m = mask;
        if (m)
            while (!(m & 1u)) m >>= 1, ++shift_;
        max_ = m;
        int width = 0;
        while (width < 32 && (m >> width) != 0) ++width;
        narrow_ = max_ != 0 && width <= 8 && max_ == (1u << width) - 1;
        if (!narrow_) return;
        for (uint32_t v = 0; v <= max_; ++v) {
            // Repeat the value's bits from the top down: 4 bits abcd give abcdabcd.
            uint32_t wide = v << (8 - width);
            for (int filled = width; filled < 8; filled += width) wide |= wide >> width;
            widened_[v] = static_cast<uint8_t>(wide);
        }
    }
    uint8_t operator()(uint32_t pixel) const {
        const uint32_t part = (pixel & mask_) >> shift_;
        if (narrow_) return widened_[part];
        return max_ ? static_cast<uint8_t>((static_cast<uint64_t>(part) * 255 + max_ / 2) / max_)
                    : 0;
    }

private:
    uint32_t mask_;
    int shift_ = 0;
    uint32_t max_ = 0;
    bool narrow_ = false;  // a contiguous mask of 1..8 bits: widened through the table
    uint8_t widened_[256] = {};
};

inline uint32_t pixelAt(const uint8_t* src, int bits) {
    return bits == 16 ? uint32_t{src[0]} | (uint32_t{src[1]} << 8)
                      : uint32_t{src[0]} | (uint32_t{src[1]} << 8) | (uint32_t{src[2]} << 16) |
                            (uint32_t{src[3]} << 24);
}

inline uint8_t overWhite(unsigned c, unsigned a) {
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

}  // namespace

void convertBitfieldRow(const uint8_t* src, int count, int bits, const uint32_t masks[4],
                        uint8_t* dst) {
    const bool plain32 = bits == 32 && masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 &&
                         masks[2] == 0x000000FF && (masks[3] == 0 || masks[3] == 0xFF000000);
    if (plain32) {
        for (int i = 0; i < count; ++i, src += 4, dst += 3) {
            const unsigned a = masks[3] ? src[3] : 255;
            if (a == 255) {
                dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
            } else {
                dst[0] = overWhite(src[0], a), dst[1] = overWhite(src[1], a),
                dst[2] = overWhite(src[2], a);
            }
        }
        return;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const int step = bits / 8;
    for (int i = 0; i < count; ++i, src += step, dst += 3) {
        const uint32_t v = pixelAt(src, bits);
        const unsigned a = masks[3] ? alpha(v) : 255;
        // Red, green, blue masks in, blue, green, red bytes out.
        if (a == 255) {
            dst[0] = blue(v), dst[1] = green(v), dst[2] = red(v);
        } else {
            dst[0] = overWhite(blue(v), a), dst[1] = overWhite(green(v), a),
            dst[2] = overWhite(red(v), a);
        }
    }
}

bool anyBitfieldAlpha(const uint8_t* src, int count, int bits, uint32_t alphaMask) {
    const int step = bits / 8;
    for (int i = 0; i < count; ++i, src += step)
        if (pixelAt(src, bits) & alphaMask) return true;
    return false;
}

}  // namespace pr
