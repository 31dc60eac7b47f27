// TGA reader (Truevision Targa): types 1/9 (colour-mapped, 8-bit indices), 2/10 (true colour of
// 15, 16, 24 or 32 bits) and 3/11 (8-bit grey), raw or run-length coded, any of the four origins.
// Colour-mapped and grey pictures become 8-bit palette pictures, true colour becomes 24 bits with
// any alpha composed over white.
//
// What it checks: the 18-byte header and the colour map's extent before anything is allocated; the
// picture size through computeDibLayout/newdib; every pixel and packet header against the end of
// the file. A file that ends early keeps what was decoded; the rest of the picture is white.

#include <cstring>
#include <string>
#include <utility>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {
namespace {

constexpr size_t kHeaderSize = 18;
constexpr size_t kFooterSize = 26;
constexpr size_t kExtensionSize = 495;
constexpr uint64_t kMinShareOfRows = 100;  // a file must hold at least 1/100 of its rows

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct TgaHeader {
    int idLength = 0;
    int mapType = 0;
    int type = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    int descriptor = 0;
    bool rle() const { return type >= 9; }
    bool mapped() const { return type == 1 || type == 9; }
    bool grey() const { return type == 3 || type == 11; }
};

bool validEntryBits(int bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// TGA has no magic number, so the sniffer insists on a header whose fields agree with each other.
bool readHeader(const uint8_t* d, size_t size, TgaHeader& h) {
    if (size < kHeaderSize) return false;
    h.idLength = d[0];
    h.mapType = d[1];
    h.type = d[2];
    h.mapFirst = le16(d + 3);
    h.mapLength = le16(d + 5);
    h.mapEntryBits = d[7];
    h.width = le16(d + 12);
    h.height = le16(d + 14);
    h.depth = d[16];
    h.descriptor = d[17];
    if (h.type != 1 && h.type != 2 && h.type != 3 && h.type != 9 && h.type != 10 && h.type != 11)
        return false;
    if (h.mapType > 1 || h.width == 0 || h.height == 0) return false;
    if (h.mapType == 1 && (h.mapLength == 0 || !validEntryBits(h.mapEntryBits))) return false;
    if (h.mapType == 0 && (h.mapLength != 0 || h.mapFirst != 0)) return false;
    if (h.mapped()) return h.mapType == 1 && h.depth == 8;
    if (h.grey()) return h.depth == 8;
    return validEntryBits(h.depth);
}

bool tgaSniff(const uint8_t* data, size_t size) {
    TgaHeader h;
    return data && readHeader(data, size, h);
}

struct Rgba {
    uint8_t r, g, b, a;
};

// 15/16-bit values are 5-5-5 with the top bit as the one attribute (alpha) bit.
Rgba unpack(const uint8_t* p, int bytes) {
    switch (bytes) {
        case 1:
            return Rgba{p[0], p[0], p[0], 255};
        case 2: {
            const int v = le16(p);
            auto five = [](int c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
            return Rgba{five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31),
                        static_cast<uint8_t>(v & 0x8000 ? 255 : 0)};
        }
        case 3:
            return Rgba{p[2], p[1], p[0], 255};
        default:
            return Rgba{p[2], p[1], p[0], p[3]};
    }
}

// Hands out the pixels of the file in file order, raw or run-length coded. Packets may run on from
// one row into the next, as several writers produce them, so the stream never restarts per row.
class PixelStream {
public:
    PixelStream(const uint8_t* p, const uint8_t* end, int bytes, bool rle)
        : p_(p), end_(end), bytes_(bytes), rle_(rle) {}

    // Pointer to the next pixel's bytes, or null when the data has ended.
    const uint8_t* next() {
        if (!rle_) return take();
        if (left_ == 0) {
            if (p_ >= end_) return nullptr;
            const uint8_t h = *p_++;
            left_ = (h & 0x7F) + 1;
            run_ = (h & 0x80) != 0;
            if (run_ && !(runPixel_ = take())) return nullptr;
        }
        --left_;
        return run_ ? runPixel_ : take();
    }

    // How many pixels the data would give, up to `cap`, without decoding them.
    uint64_t reach(uint64_t cap) const {
        const auto bytes = static_cast<uint64_t>(bytes_);
        if (!rle_)
            return static_cast<uint64_t>(end_ - p_) / bytes < cap
                       ? static_cast<uint64_t>(end_ - p_) / bytes
                       : cap;
        uint64_t n = 0;
        for (const uint8_t* p = p_; p < end_ && n < cap;) {
            const uint8_t h = *p++;
            const uint64_t count = (h & 0x7Fu) + 1;
            const auto left = static_cast<uint64_t>(end_ - p);
            if (h & 0x80) {
                if (left < bytes) break;
                n += count;
                p += bytes;
            } else {
                if (left < count * bytes) {
                    n += left / bytes;
                    break;
                }
                n += count;
                p += count * bytes;
            }
        }
        return n < cap ? n : cap;
    }

private:
    const uint8_t* take() {
        if (end_ - p_ < bytes_) return nullptr;
        const uint8_t* q = p_;
        p_ += bytes_;
        return q;
    }
    const uint8_t* p_;
    const uint8_t* end_;
    int bytes_;
    bool rle_;
    int left_ = 0;
    bool run_ = false;
    const uint8_t* runPixel_ = nullptr;
};

enum class AlphaUse { Ignore, Straight, Premultiplied };

// The descriptor's attribute bits say whether pixels carry alpha at all; a TGA 2.0 extension area
// may say more precisely. Many writers declare alpha and then leave it all zero, which would make
// the picture vanish, so an alpha channel that is zero everywhere counts as opaque.
AlphaUse alphaUse(const uint8_t* d, size_t size, const TgaHeader& h, const uint8_t* pixels) {
    if (h.mapped() || h.grey() || h.depth == 24 || (h.descriptor & 0x0F) == 0)
        return AlphaUse::Ignore;
    AlphaUse use = AlphaUse::Straight;
    if (size >= kHeaderSize + kFooterSize &&
        std::memcmp(d + size - 18, "TRUEVISION-XFILE.\0", 18) == 0) {
        const uint32_t ext = le32(d + size - kFooterSize);
        if (ext >= kHeaderSize && ext <= size - kFooterSize &&
            size - kFooterSize - ext >= kExtensionSize && le16(d + ext) >= kExtensionSize) {
            const int attr = d[ext + 494];
            if (attr == 0 || attr == 1 || attr == 2) return AlphaUse::Ignore;
            if (attr == 4) use = AlphaUse::Premultiplied;
        }
    }
    const int bytes = (h.depth + 7) / 8;
    PixelStream s(pixels, d + size, bytes, h.rle());
    const int64_t count = int64_t{h.width} * h.height;
    for (int64_t i = 0; i < count; ++i) {
        const uint8_t* p = s.next();
        if (!p) break;
        if (unpack(p, bytes).a != 0) return use;
    }
    return AlphaUse::Ignore;
}

uint8_t overWhite(uint8_t c, uint8_t a, AlphaUse use) {
    if (use == AlphaUse::Premultiplied) {
        const int v = c + 255 - a;
        return static_cast<uint8_t>(v > 255 ? 255 : v);
    }
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

DecodeResult fail(ImageError e, std::string detail) {
    return DecodeResult{e, std::move(detail), 0, 0, 0};
}

DecodeResult tgaDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    TgaHeader h;
    if (!d || !readHeader(d, size, h)) return fail(ImageError::Damaged, "TGA-Kopf");
    const int outBits = h.mapped() || h.grey() ? 8 : 24;
    DibLayout layout;
    const SizeCheck check = computeDibLayout(h.width, h.height, outBits, layout);
    if (check == SizeCheck::TooLarge) return fail(ImageError::TooLarge, {});
    if (check != SizeCheck::Ok) return fail(ImageError::Damaged, "TGA-Größe");

    const size_t entryBytes = h.mapType ? (h.mapEntryBits + 7) / 8 : 0;
    const size_t mapOffset = kHeaderSize + h.idLength;
    const size_t pixelOffset = mapOffset + entryBytes * h.mapLength;
    if (pixelOffset > size) return fail(ImageError::Damaged, "TGA-Farbtabelle");
    const size_t bytes = (h.depth + 7) / 8;
    PixelStream stream(d + pixelOffset, d + size, static_cast<int>(bytes), h.rle());
    // A cut-off file still shows what it has, but a stub that covers almost none of the rows it
    // announces is refused before we allocate and whiten a picture of that size for it.
    const uint64_t rowsPresent =
        stream.reach(static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height)) /
        static_cast<uint64_t>(h.width);
    if (rowsPresent == 0 || rowsPresent < static_cast<uint64_t>(h.height) / kMinShareOfRows)
        return fail(ImageError::Damaged, "zu wenig TGA-Bilddaten");
    const AlphaUse alpha = alphaUse(d, size, h, d + pixelOffset);

    if (!newdib(out, h.width, h.height, outBits)) return fail(ImageError::OutOfMemory, {});
    if (h.grey()) {
        setGreyTable(out);
    } else if (h.mapped()) {
        // Entry i of the stored map is colour number mapFirst + i; numbers past 255 cannot occur in
        // 8-bit pixels, and numbers below mapFirst stay black.
        for (int i = 0; i < h.mapLength && h.mapFirst + i < 256; ++i) {
            const Rgba c = unpack(d + mapOffset + i * entryBytes, static_cast<int>(entryBytes));
            out.info->colors[h.mapFirst + i] = RgbQuad{c.b, c.g, c.r, 0};
        }
        syncPalette(out);
    }
    if (outBits == 8) {
        int white = 0, best = -1;
        for (int i = 0; i < 256; ++i) {
            const RgbQuad& q = out.info->colors[i];
            if (q.red + q.green + q.blue > best) best = q.red + q.green + q.blue, white = i;
        }
        std::memset(out.bits, white, out.imageBytes());
    } else {
        std::memset(out.bits, 0xFF, out.imageBytes());
    }

    const bool topDown = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    int rowsDone = 0;
    bool ended = false;
    for (int fy = 0; fy < h.height && !ended; ++fy) {
        uint8_t* row = out.storedRow(topDown ? h.height - 1 - fy : fy);
        for (int fx = 0; fx < h.width; ++fx) {
            const uint8_t* p = stream.next();
            if (!p) {
                ended = true;
                break;
            }
            const int x = rightToLeft ? h.width - 1 - fx : fx;
            if (outBits == 8) {
                row[x] = p[0];
                continue;
            }
            const Rgba c = unpack(p, static_cast<int>(bytes));
            uint8_t* o = row + 3 * x;
            if (alpha == AlphaUse::Ignore || c.a == 255) {
                o[0] = c.b, o[1] = c.g, o[2] = c.r;
            } else {
                o[0] = overWhite(c.b, c.a, alpha);
                o[1] = overWhite(c.g, c.a, alpha);
                o[2] = overWhite(c.r, c.a, alpha);
            }
        }
        if (!ended) ++rowsDone;
    }
    if (rowsDone == 0) {
        deldib(out);
        return fail(ImageError::Damaged, "keine TGA-Bilddaten");
    }
    DecodeResult result;
    result.trueWidth = h.width;
    result.trueHeight = h.height;
    result.trueBitCount = outBits;
    if (rowsDone < h.height) result.detail = "unvollständig";
    return result;
}

}  // namespace

const Codec& tgaCodec() {
    static const Codec codec{"tga", tgaSniff, tgaDecode};
    return codec;
}

}  // namespace pr
