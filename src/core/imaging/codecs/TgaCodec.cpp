// TGA reader (Truevision Targa): types 1/9 (colour-mapped, 8-bit indices), 2/10 (true colour of
// 15, 16, 24 or 32 bits) and 3/11 (8-bit grey, or 16 bits of grey and alpha), raw or run-length
// coded, any of the four origins. Colour-mapped and grey pictures become 8-bit palette pictures,
// true colour becomes 24 bits; any alpha is composed over white (grey over white stays grey).
//
// What it checks: the 18-byte header and the colour map's extent before anything is allocated; the
// picture size through computeDibLayout/newdib; every pixel and packet header against the end of
// the file. A file that ends early keeps the rows decoded; the rest of the picture is white.

#include <cstring>
#include <string>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"
#include "core/io/ByteReader.h"

namespace pr {
namespace {

constexpr size_t kHeaderSize = 18;
constexpr size_t kFooterSize = 26;
constexpr size_t kExtensionSize = 495;

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
    ByteReader in(d, kHeaderSize);
    h.idLength = in.u8();
    h.mapType = in.u8();
    h.type = in.u8();
    h.mapFirst = in.u16();
    h.mapLength = in.u16();
    h.mapEntryBits = in.u8();
    in.skip(4);  // origin
    h.width = in.u16();
    h.height = in.u16();
    h.depth = in.u8();
    h.descriptor = in.u8();
    if (h.type != 1 && h.type != 2 && h.type != 3 && h.type != 9 && h.type != 10 && h.type != 11)
        return false;
    if (h.mapType > 1 || h.width == 0 || h.height == 0) return false;
    if (h.mapType == 1 && (h.mapLength == 0 || !validEntryBits(h.mapEntryBits))) return false;
    if (h.mapType == 0 && (h.mapLength != 0 || h.mapFirst != 0)) return false;
    if (h.mapped()) return h.mapType == 1 && h.depth == 8;
    if (h.grey()) return h.depth == 8 || h.depth == 16;
    return validEntryBits(h.depth);
}

bool tgaSniff(const uint8_t* data, size_t size) {
    TgaHeader h;
    return data && readHeader(data, size, h);
}

struct Rgba {
    uint8_t r, g, b, a;
};

// 15/16-bit values are 5-5-5 with the top bit as the one attribute (alpha) bit; in grey pictures,
// 16 bits are a grey byte and an alpha byte.
Rgba unpack(const uint8_t* p, int bytes, bool grey) {
    if (grey) return Rgba{p[0], p[0], p[0], bytes == 2 ? p[1] : uint8_t{255}};
    switch (bytes) {
        case 1:
            return Rgba{p[0], p[0], p[0], 255};
        case 2: {
            const int v = p[0] | (p[1] << 8);
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
    PixelStream(const uint8_t* p, size_t size, int bytes, bool rle)
        : in_(p, size), bytes_(static_cast<size_t>(bytes)), rle_(rle) {}

    // Pointer to the next pixel's bytes, or null when the data has ended.
    const uint8_t* next() {
        if (!rle_) return in_.take(bytes_);
        if (left_ == 0) {
            if (in_.remaining() == 0) return nullptr;
            const uint8_t h = in_.u8();
            left_ = (h & 0x7F) + 1;
            run_ = (h & 0x80) != 0;
            if (run_ && !(runPixel_ = in_.take(bytes_))) return nullptr;
        }
        --left_;
        return run_ ? runPixel_ : in_.take(bytes_);
    }

    // How many pixels the data would give, up to `cap`, without decoding them.
    uint64_t reach(uint64_t cap) const {
        const uint64_t all = in_.remaining() / bytes_;
        if (!rle_) return all < cap ? all : cap;
        ByteReader p = in_;
        uint64_t n = 0;
        while (p.remaining() > 0 && n < cap) {
            const uint8_t h = p.u8();
            const uint64_t count = (h & 0x7Fu) + 1;
            const uint64_t left = p.remaining();
            const uint64_t packetBytes = h & 0x80 ? bytes_ : count * bytes_;
            if (left < packetBytes) {
                if (!(h & 0x80)) n += left / bytes_;
                break;
            }
            n += count;
            p.skip(static_cast<size_t>(packetBytes));
        }
        return n < cap ? n : cap;
    }

private:
    ByteReader in_;
    size_t bytes_;
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
    if (h.mapped() || h.depth == 8 || h.depth == 24 || (h.descriptor & 0x0F) == 0)
        return AlphaUse::Ignore;
    AlphaUse use = AlphaUse::Straight;
    if (size >= kHeaderSize + kFooterSize &&
        std::memcmp(d + size - 18, "TRUEVISION-XFILE.\0", 18) == 0) {
        ByteReader in(d, size);
        in.seek(size - kFooterSize);
        const uint32_t ext = in.u32();
        // The extension area starts with its own size and holds the attribute type at 494.
        if (ext >= kHeaderSize && ext <= size - kFooterSize &&
            size - kFooterSize - ext >= kExtensionSize && in.seek(ext) &&
            in.u16() >= kExtensionSize && in.seek(ext + 494)) {
            const int attr = in.u8();
            if (attr == 0 || attr == 1 || attr == 2) return AlphaUse::Ignore;
            if (attr == 4) use = AlphaUse::Premultiplied;
        }
    }
    const int bytes = (h.depth + 7) / 8;
    PixelStream s(pixels, static_cast<size_t>(d + size - pixels), bytes, h.rle());
    const int64_t count = int64_t{h.width} * h.height;
    for (int64_t i = 0; i < count; ++i) {
        const uint8_t* p = s.next();
        if (!p) break;
        if (unpack(p, bytes, h.grey()).a != 0) return use;
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

// Grey pictures get a grey ramp; in a colour-mapped one, entry i of the stored map is colour
// number mapFirst + i: numbers past 255 cannot occur in 8-bit pixels, and numbers below mapFirst
// stay black.
void setPalette(ImageBuffer& out, const TgaHeader& h, const uint8_t* map, size_t entryBytes) {
    if (h.grey()) {
        setGreyTable(out);
    } else if (h.mapped()) {
        for (int i = 0; i < h.mapLength && h.mapFirst + i < 256; ++i) {
            const Rgba c = unpack(map + i * entryBytes, static_cast<int>(entryBytes), false);
            out.info->colors[h.mapFirst + i] = RgbQuad{c.b, c.g, c.r, 0};
        }
        syncPalette(out);
    }
}

// The pixels in file order into the picture; returns the number of complete file rows (decodeWith
// whitens the rest, the row the data ends in included).
int readRows(PixelStream& stream, const TgaHeader& h, AlphaUse alpha, ImageBuffer& out) {
    const int bytes = (h.depth + 7) / 8;
    const bool topDown = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    const bool indexed = out.bitCount() == 8;
    for (int fy = 0; fy < h.height; ++fy) {
        uint8_t* row = out.storedRow(topDown ? h.height - 1 - fy : fy);
        for (int fx = 0; fx < h.width; ++fx) {
            const uint8_t* p = stream.next();
            if (!p) return fy;
            const int x = rightToLeft ? h.width - 1 - fx : fx;
            if (indexed) {
                const bool opaque = bytes == 1 || alpha == AlphaUse::Ignore || p[1] == 255;
                row[x] = opaque ? p[0] : overWhite(p[0], p[1], alpha);
                continue;
            }
            const Rgba c = unpack(p, bytes, false);
            uint8_t* o = row + 3 * x;
            if (alpha == AlphaUse::Ignore || c.a == 255) {
                o[0] = c.b, o[1] = c.g, o[2] = c.r;
            } else {
                o[0] = overWhite(c.b, c.a, alpha);
                o[1] = overWhite(c.g, c.a, alpha);
                o[2] = overWhite(c.r, c.a, alpha);
            }
        }
    }
    return h.height;
}

// The header read and judged, with where the colour map and the pixels lie.
struct TgaPlan {
    TgaHeader h;
    int outBits = 0;
    size_t entryBytes = 0;
    size_t mapOffset = 0;
    size_t pixelOffset = 0;
};

DecodeResult plan(const uint8_t* d, size_t size, TgaPlan& p) {
    TgaHeader& h = p.h;
    if (!d || !readHeader(d, size, h)) return decodeFailure(ImageError::Damaged, "TGA-Kopf");
    p.outBits = h.mapped() || h.grey() ? 8 : 24;
    DibLayout layout;
    const SizeCheck check = computeDibLayout(h.width, h.height, p.outBits, layout);
    if (check == SizeCheck::TooLarge) return decodeFailure(ImageError::TooLarge);
    if (check != SizeCheck::Ok) return decodeFailure(ImageError::Damaged, "TGA-Größe");
    p.entryBytes = h.mapType ? (h.mapEntryBits + 7) / 8 : 0;
    p.mapOffset = kHeaderSize + h.idLength;
    p.pixelOffset = p.mapOffset + p.entryBytes * h.mapLength;
    if (p.pixelOffset > size) return decodeFailure(ImageError::Damaged, "TGA-Farbtabelle");
    return DecodeResult{};
}

// The rows are counted by running through the packets without decoding them.
DecodeResult tgaHeader(const uint8_t* d, size_t size, PictureHeader& out) {
    TgaPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const TgaHeader& h = p.h;
    const PixelStream stream(d + p.pixelOffset, size - p.pixelOffset, (h.depth + 7) / 8, h.rle());
    const auto width = static_cast<uint64_t>(h.width), height = static_cast<uint64_t>(h.height);
    return announcedPicture(out, h.width, h.height, p.outBits,
                            stream.reach(width * height) / width);
}

DecodeResult tgaDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    TgaPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const TgaHeader& h = p.h;
    PixelStream stream(d + p.pixelOffset, size - p.pixelOffset, (h.depth + 7) / 8, h.rle());
    const AlphaUse alpha = alphaUse(d, size, h, d + p.pixelOffset);

    if (!newdib(out, h.width, h.height, p.outBits)) return decodeFailure(ImageError::OutOfMemory);
    setPalette(out, h, d + p.mapOffset, p.entryBytes);
    const int rowsDone = readRows(stream, h, alpha, out);
    if (rowsDone == 0) {
        deldib(out);
        return decodeFailure(ImageError::Damaged, "keine TGA-Bilddaten");
    }
    DecodeResult result = decodedPicture(h.width, h.height, p.outBits, rowsDone);
    result.bottomUp = (h.descriptor & 0x20) == 0;
    return result;
}

}  // namespace

const Codec& tgaCodec() {
    static const Codec codec{"tga", tgaSniff, tgaHeader, tgaDecode};
    return codec;
}

}  // namespace pr
