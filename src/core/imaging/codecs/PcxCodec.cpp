// PCX reader (ZSoft Paintbrush): 1-bit, 2/4-bit packed, 2..4 planes of 1 bit (EGA), 8-bit with the
// 256-colour table at the end of the file, and 3 or 4 planes of 8 bits (true colour).
//
// What it checks: the 128-byte header (window, bits x planes, bytes per line against the width)
// before anything is allocated; the picture size through newdib/Limits.h; the RLE stream byte by
// byte against the end of the pixel data, which stops before the trailing colour table.
// A file that ends early keeps the rows decoded so far; the rest of the picture is white.

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailingPaletteSize = 769;  // 0x0C marker + 256 x RGB
constexpr uint64_t kMinShareOfRows = 100;     // a file must hold at least 1/100 of its rows

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

struct PcxHeader {
    int version = 0;
    int encoding = 0;
    int bitsPerPixel = 0;
    int planes = 0;
    int bytesPerLine = 0;
    int64_t width = 0;
    int64_t height = 0;
};

bool readHeader(const uint8_t* d, size_t size, PcxHeader& h) {
    if (size < kHeaderSize || d[0] != 0x0A) return false;
    h.version = d[1];
    h.encoding = d[2];
    h.bitsPerPixel = d[3];
    const int xmin = le16(d + 4), ymin = le16(d + 6), xmax = le16(d + 8), ymax = le16(d + 10);
    h.planes = d[65];
    h.bytesPerLine = le16(d + 66);
    if (h.version != 0 && (h.version < 2 || h.version > 5)) return false;
    if (h.encoding > 1) return false;
    if (h.bitsPerPixel != 1 && h.bitsPerPixel != 2 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8)
        return false;
    if (h.planes < 1 || h.planes > 4) return false;
    if (xmax < xmin || ymax < ymin) return false;
    h.width = int64_t{xmax} - xmin + 1;
    h.height = int64_t{ymax} - ymin + 1;
    return true;
}

bool pcxSniff(const uint8_t* data, size_t size) {
    PcxHeader h;
    return data && readHeader(data, size, h);
}

// Undoes PCX run-length coding as one continuous stream: writers (and the format's own reference
// decoder) let a run carry on into the next plane or scanline, so the run state survives between
// calls.
class RleStream {
public:
    RleStream(const uint8_t* p, const uint8_t* end, bool rle) : p_(p), end_(end), rle_(rle) {}

    // Fills `n` bytes; false when the data ended first (the bytes written so far stay).
    bool read(uint8_t* out, size_t n) {
        if (!rle_) {
            if (static_cast<size_t>(end_ - p_) < n) return false;
            std::memcpy(out, p_, n);
            p_ += n;
            return true;
        }
        size_t i = 0;
        while (i < n) {
            if (pending_ > 0) {
                const size_t k = pending_ < n - i ? pending_ : n - i;
                std::memset(out + i, value_, k);
                i += k;
                pending_ -= k;
                continue;
            }
            if (p_ >= end_) return false;
            const uint8_t c = *p_++;
            if ((c & 0xC0) == 0xC0) {
                if (p_ >= end_) return false;
                pending_ = c & 0x3F;
                value_ = *p_++;
            } else {
                out[i++] = c;
            }
        }
        return true;
    }

    // How many bytes the data would give, up to `cap`, without writing any.
    uint64_t reach(uint64_t cap) const {
        if (!rle_)
            return static_cast<uint64_t>(end_ - p_) < cap ? static_cast<uint64_t>(end_ - p_) : cap;
        uint64_t n = 0;
        for (const uint8_t* p = p_; p < end_ && n < cap;) {
            const uint8_t c = *p++;
            if ((c & 0xC0) != 0xC0)
                ++n;
            else if (p < end_)
                ++p, n += c & 0x3F;
            else
                break;
        }
        return n < cap ? n : cap;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
    bool rle_;
    size_t pending_ = 0;
    uint8_t value_ = 0;
};

void fillWhite(ImageBuffer& b) {
    std::memset(b.bits, whiteFillByte(b), b.imageBytes());
}

void setColor(ImageBuffer& b, int i, uint8_t r, uint8_t g, uint8_t bl) {
    b.info->colors[i] = RgbQuad{bl, g, r, 0};
}

DecodeResult fail(ImageError e, std::string detail) {
    return DecodeResult{e, std::move(detail), 0, 0, 0};
}

DecodeResult pcxDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    PcxHeader h;
    if (!d || !readHeader(d, size, h)) return fail(ImageError::Damaged, "PCX-Kopf");

    const int bpp = h.bitsPerPixel, planes = h.planes;
    int outBits = 0;
    if (bpp == 1 && planes == 1)
        outBits = 1;
    else if ((bpp == 1 && planes <= 4) || ((bpp == 2 || bpp == 4) && planes == 1))
        outBits = 4;
    else if (bpp == 8 && planes == 1)
        outBits = 8;
    else if (bpp == 8 && (planes == 3 || planes == 4))
        outBits = 24;
    else
        return fail(ImageError::Unsupported, "PCX-Farbtiefe");

    DibLayout layout;
    const SizeCheck check = computeDibLayout(h.width, h.height, outBits, layout);
    if (check == SizeCheck::TooLarge) return fail(ImageError::TooLarge, {});
    if (check != SizeCheck::Ok) return fail(ImageError::Damaged, "PCX-Größe");
    // A line shorter than the width would make us read pixels that are not there.
    if (int64_t{h.bytesPerLine} * 8 < h.width * bpp)
        return fail(ImageError::Damaged, "PCX-Zeilenlänge");

    const uint8_t* dataEnd = d + size;
    bool trailingPalette = false;
    if (outBits == 8 && size >= kHeaderSize + kTrailingPaletteSize &&
        d[size - kTrailingPaletteSize] == 0x0C) {
        trailingPalette = true;
        dataEnd = d + size - kTrailingPaletteSize;
    }

    const size_t lineBytes = static_cast<size_t>(h.bytesPerLine) * planes;
    const size_t available =
        dataEnd > d + kHeaderSize ? static_cast<size_t>(dataEnd - d - kHeaderSize) : 0;
    RleStream stream(d + kHeaderSize, d + kHeaderSize + available, h.encoding == 1);
    // A cut-off file still shows what it has, but a stub that covers almost none of the rows it
    // announces is refused before we allocate and whiten a picture of that size for it.
    const uint64_t rowsPresent =
        stream.reach(lineBytes * static_cast<uint64_t>(h.height)) / lineBytes;
    if (rowsPresent == 0 || rowsPresent < static_cast<uint64_t>(h.height) / kMinShareOfRows)
        return fail(ImageError::Damaged, "zu wenig PCX-Bilddaten");

    if (!newdib(out, static_cast<int>(h.width), static_cast<int>(h.height), outBits))
        return fail(ImageError::OutOfMemory, {});
    if (outBits == 1) {
        // Most writers leave the header palette empty for black-and-white pictures; a pair of
        // distinct entries means the writer chose the two colours.
        const uint8_t* p = d + 16;
        if (std::memcmp(p, p + 3, 3) != 0) {
            setColor(out, 0, p[0], p[1], p[2]);
            setColor(out, 1, p[3], p[4], p[5]);
        } else {
            setColor(out, 0, 0, 0, 0);
            setColor(out, 1, 255, 255, 255);
        }
    } else if (outBits == 4) {
        for (int i = 0; i < 16; ++i) setColor(out, i, d[16 + 3 * i], d[17 + 3 * i], d[18 + 3 * i]);
    } else if (outBits == 8) {
        if (trailingPalette) {
            const uint8_t* p = d + size - kTrailingPaletteSize + 1;
            for (int i = 0; i < 256; ++i) setColor(out, i, p[3 * i], p[3 * i + 1], p[3 * i + 2]);
        } else {
            for (int i = 0; i < 256; ++i) setColor(out, i, i, i, i);
        }
    }
    syncPalette(out);
    fillWhite(out);

    const size_t bpl = h.bytesPerLine;
    std::vector<uint8_t> line(lineBytes);
    const int w = static_cast<int>(h.width);
    int rowsDone = 0;
    for (int y = 0; y < h.height; ++y) {
        if (!stream.read(line.data(), line.size())) break;
        uint8_t* row = out.rowFromTop(y);
        if (outBits == 24) {
            const uint8_t* r = line.data();
            const uint8_t* g = r + bpl;
            const uint8_t* b = g + bpl;
            for (int x = 0; x < w; ++x) {
                row[3 * x] = b[x];
                row[3 * x + 1] = g[x];
                row[3 * x + 2] = r[x];
            }
        } else if (outBits == 1 || outBits == 8) {
            std::memcpy(row, line.data(), static_cast<size_t>(outBits == 1 ? (w + 7) / 8 : w));
            if (outBits == 1 && (w & 7)) row[w / 8] &= static_cast<uint8_t>(0xFF00 >> (w & 7));
        } else {
            for (int x = 0; x < w; ++x) {
                int v = 0;
                if (bpp == 1) {
                    for (int p = 0; p < planes; ++p)
                        v |= ((line[p * bpl + (x >> 3)] >> (7 - (x & 7))) & 1) << p;
                } else if (bpp == 2) {
                    v = (line[x >> 2] >> (6 - 2 * (x & 3))) & 3;
                } else {
                    v = (line[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
                }
                uint8_t& o = row[x >> 1];
                o = (x & 1) ? static_cast<uint8_t>((o & 0xF0) | v)
                            : static_cast<uint8_t>((o & 0x0F) | (v << 4));
            }
        }
        ++rowsDone;
    }
    if (rowsDone == 0) {
        deldib(out);
        return fail(ImageError::Damaged, "keine PCX-Bilddaten");
    }
    DecodeResult result;
    result.trueWidth = w;
    result.trueHeight = static_cast<int>(h.height);
    result.trueBitCount = outBits;
    if (rowsDone < h.height) result.detail = "unvollständig";
    return result;
}

}  // namespace

const Codec& pcxCodec() {
    static const Codec codec{"pcx", pcxSniff, pcxDecode};
    return codec;
}

}  // namespace pr
