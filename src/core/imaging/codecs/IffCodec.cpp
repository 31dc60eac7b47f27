// IFF reader (Amiga "FORM ILBM" interleaved bitplanes and Deluxe Paint's chunky "FORM PBM ").
// 1 plane -> 1 bit, 2..4 planes -> 4 bits, 5..8 planes -> 8 bits with the CMAP colours (a grey ramp
// when there is none); Extra-Half-Brite -> 8 bits with the 32 halved colours added; HAM and 24/32-
// plane deep pictures -> 24 bits. A mask plane is read past and dropped.
//
// What it checks: every chunk length against the bytes that remain (the FORM's own length may
// overstate a truncated file), BMHD before anything is allocated, the picture size through
// computeDibLayout/newdib, and every ByteRun1 run against both the input and the row buffer.
// A BODY that ends early keeps the rows decoded so far; the rest of the picture is white.

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {
namespace {

constexpr uint32_t kCamgEhb = 0x80;
constexpr uint32_t kCamgHam = 0x800;
constexpr uint64_t kMinShareOfRows = 100;  // a file must hold at least 1/100 of its rows

uint16_t be16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
uint32_t be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

bool iffSniff(const uint8_t* d, size_t size) {
    return d && size >= 12 && std::memcmp(d, "FORM", 4) == 0 &&
           (std::memcmp(d + 8, "ILBM", 4) == 0 || std::memcmp(d + 8, "PBM ", 4) == 0);
}

struct Chunk {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

struct IffFile {
    bool chunky = false;  // PBM
    Chunk bmhd, cmap, camg, body;
    bool bodyCut = false;  // the BODY's stated length runs past the end of the file
};

void walkChunks(const uint8_t* d, size_t size, IffFile& f) {
    size_t end = 8 + static_cast<size_t>(be32(d + 4));
    if (end > size || end < 12) end = size;
    size_t pos = 12;
    while (end - pos >= 8) {
        const uint8_t* id = d + pos;
        const size_t len = be32(d + pos + 4);
        pos += 8;
        const size_t left = end - pos;
        Chunk c{d + pos, len <= left ? len : left};
        if (std::memcmp(id, "BMHD", 4) == 0 && !f.bmhd.data)
            f.bmhd = c;
        else if (std::memcmp(id, "CMAP", 4) == 0 && !f.cmap.data)
            f.cmap = c;
        else if (std::memcmp(id, "CAMG", 4) == 0 && !f.camg.data)
            f.camg = c;
        else if (std::memcmp(id, "BODY", 4) == 0 && !f.body.data)
            f.body = c, f.bodyCut = len > left;
        if (len >= left) break;
        pos += len + (len & 1);  // chunks are padded to an even length
        if (pos > end) break;
    }
}

// ByteRun1 as one continuous stream: some writers let a run carry on into the next plane row.
class ByteRun1 {
public:
    ByteRun1(const uint8_t* p, const uint8_t* end, bool packed)
        : p_(p), end_(end), packed_(packed) {}

    bool read(uint8_t* out, size_t n) {
        if (!packed_) {
            if (static_cast<size_t>(end_ - p_) < n) return false;
            std::memcpy(out, p_, n);
            p_ += n;
            return true;
        }
        size_t i = 0;
        while (i < n) {
            if (left_ > 0) {
                const size_t k = left_ < n - i ? left_ : n - i;
                if (literal_) {
                    if (static_cast<size_t>(end_ - p_) < k) return false;
                    std::memcpy(out + i, p_, k);
                    p_ += k;
                } else {
                    std::memset(out + i, value_, k);
                }
                i += k;
                left_ -= k;
                continue;
            }
            if (p_ >= end_) return false;
            const int c = static_cast<int8_t>(*p_++);
            if (c >= 0) {
                literal_ = true;
                left_ = static_cast<size_t>(c) + 1;
            } else if (c != -128) {
                if (p_ >= end_) return false;
                literal_ = false;
                value_ = *p_++;
                left_ = static_cast<size_t>(-c) + 1;
            }
        }
        return true;
    }

    // How many bytes the data would give, up to `cap`, without writing any.
    uint64_t reach(uint64_t cap) const {
        const auto all = static_cast<uint64_t>(end_ - p_);
        if (!packed_) return all < cap ? all : cap;
        uint64_t n = 0;
        for (const uint8_t* p = p_; p < end_ && n < cap;) {
            const int c = static_cast<int8_t>(*p++);
            const auto left = static_cast<uint64_t>(end_ - p);
            if (c >= 0) {
                const auto k = static_cast<uint64_t>(c) + 1;
                n += k < left ? k : left;
                p += k < left ? k : left;
            } else if (c != -128 && left > 0) {
                n += static_cast<uint64_t>(-c) + 1;
                ++p;
            }
        }
        return n < cap ? n : cap;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
    bool packed_;
    size_t left_ = 0;
    bool literal_ = false;
    uint8_t value_ = 0;
};

DecodeResult fail(ImageError e, std::string detail) {
    return DecodeResult{e, std::move(detail), 0, 0, 0};
}

// Bit `x` of each of `planes` plane rows (rowBytes apart), plane 0 the lowest bit.
inline uint32_t gather(const uint8_t* line, size_t rowBytes, int firstPlane, int planes, int x) {
    uint32_t v = 0;
    const uint8_t* p = line + firstPlane * rowBytes + (x >> 3);
    const int shift = 7 - (x & 7);
    for (int i = 0; i < planes; ++i, p += rowBytes)
        v |= static_cast<uint32_t>((*p >> shift) & 1) << i;
    return v;
}

DecodeResult iffDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    if (!iffSniff(d, size)) return fail(ImageError::Damaged, "IFF-Kopf");
    IffFile f;
    f.chunky = std::memcmp(d + 8, "PBM ", 4) == 0;
    walkChunks(d, size, f);
    if (!f.bmhd.data || f.bmhd.size < 20) return fail(ImageError::Damaged, "IFF-BMHD");
    if (!f.body.data) return fail(ImageError::Damaged, "IFF-BODY fehlt");

    const uint8_t* b = f.bmhd.data;
    const int width = be16(b), height = be16(b + 2);
    const int planes = b[8], masking = b[9], compression = b[10];
    const uint32_t camg = f.camg.size >= 4 ? be32(f.camg.data) : 0;
    const bool ham = (camg & kCamgHam) && !f.chunky && planes >= 3 && planes <= 8;
    const bool ehb = (camg & kCamgEhb) && !ham && !f.chunky && planes == 6;

    if (compression > 1) return fail(ImageError::Unsupported, "IFF-Kompression");
    if (planes == 0) return fail(ImageError::Unsupported, "IFF ohne Bitebenen");
    int outBits = 0;
    if (f.chunky)
        outBits = planes == 8 ? 8 : 0;
    else if (ham || planes == 24 || planes == 32)
        outBits = 24;
    else if (planes == 1)
        outBits = 1;
    else if (planes <= 4)
        outBits = 4;
    else if (planes <= 8)
        outBits = 8;
    if (outBits == 0) return fail(ImageError::Unsupported, "IFF-Farbtiefe");

    DibLayout layout;
    const SizeCheck check = computeDibLayout(width, height, outBits, layout);
    if (check == SizeCheck::TooLarge) return fail(ImageError::TooLarge, {});
    if (check != SizeCheck::Ok) return fail(ImageError::Damaged, "IFF-Größe");

    // Colours: CMAP entries as stored; early Amiga writers stored 4-bit colour registers in the
    // high nibble (0xF0 for full intensity), which we stretch so white comes out white.
    uint8_t cmap[256][3] = {};
    const int mapColors = static_cast<int>(f.cmap.size / 3 < 256 ? f.cmap.size / 3 : 256);
    bool nibbles = mapColors > 0;
    for (int i = 0; i < mapColors; ++i)
        for (int k = 0; k < 3; ++k) {
            cmap[i][k] = f.cmap.data[3 * i + k];
            if (cmap[i][k] & 0x0F) nibbles = false;
        }
    if (nibbles)
        for (int i = 0; i < mapColors; ++i)
            for (int k = 0; k < 3; ++k)
                cmap[i][k] = static_cast<uint8_t>(cmap[i][k] | (cmap[i][k] >> 4));
    if (ehb)
        for (int i = 0; i < 32; ++i)
            for (int k = 0; k < 3; ++k) cmap[i + 32][k] = static_cast<uint8_t>(cmap[i][k] >> 1);

    // One stored row: PBM has one byte per pixel padded to an even width; ILBM has each plane's
    // row (a whole number of 16-bit words) and then the mask plane's.
    const size_t planeRow =
        f.chunky ? static_cast<size_t>((width + 1) & ~1) : ((width + 15) / 16) * 2u;
    const int storedPlanes = f.chunky ? 1 : planes + (masking == 1 ? 1 : 0);
    const size_t lineBytes = planeRow * storedPlanes;
    ByteRun1 stream(f.body.data, f.body.data + f.body.size, compression == 1);
    // A cut-off file still shows what it has, but a stub that covers almost none of the rows it
    // announces is refused before we allocate and whiten a picture of that size for it.
    const uint64_t rowsPresent =
        stream.reach(lineBytes * static_cast<uint64_t>(height)) / lineBytes;
    if (rowsPresent == 0 || rowsPresent < static_cast<uint64_t>(height) / kMinShareOfRows)
        return fail(ImageError::Damaged, "zu wenig IFF-Bilddaten");

    if (!newdib(out, width, height, outBits)) return fail(ImageError::OutOfMemory, {});
    uint8_t white = 0xFF;
    if (outBits <= 8) {
        if (mapColors == 0) {
            // No CMAP: a grey ramp over the indices the planes can hold.
            const int n = 1 << (planes < 8 ? planes : 8);
            for (int i = 0; i < n; ++i) {
                const auto v = static_cast<uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
                cmap[i][0] = cmap[i][1] = cmap[i][2] = v;
            }
        }
        int best = -1;
        for (int i = 0; i < out.tableSize(); ++i) {
            out.info->colors[i] = RgbQuad{cmap[i][2], cmap[i][1], cmap[i][0], 0};
            const int sum = cmap[i][0] + cmap[i][1] + cmap[i][2];
            if (sum > best) best = sum, white = static_cast<uint8_t>(i);
        }
        syncPalette(out);
        if (outBits == 1)
            white = white ? 0xFF : 0x00;
        else if (outBits == 4)
            white = static_cast<uint8_t>(white * 0x11);
    }
    std::memset(out.bits, white, out.imageBytes());

    std::vector<uint8_t> line(lineBytes);
    const int hamBits = planes - 2;
    int rowsDone = 0;
    for (int y = 0; y < height; ++y) {
        if (!stream.read(line.data(), line.size())) break;
        uint8_t* row = out.rowFromTop(y);
        if (f.chunky) {
            std::memcpy(row, line.data(), static_cast<size_t>(width));
        } else if (ham) {
            // Each row starts from colour 0; a pixel either picks a base colour or keeps the
            // previous pixel's colour and changes one component.
            uint8_t r = cmap[0][0], g = cmap[0][1], bl = cmap[0][2];
            for (int x = 0; x < width; ++x) {
                const uint32_t v = gather(line.data(), planeRow, 0, planes, x);
                const uint32_t value = v & ((1u << hamBits) - 1);
                // Stretch the hamBits-wide value to 8 bits by repeating its bits.
                uint32_t wide = value << (8 - hamBits);
                for (int s = hamBits; s < 8; s += hamBits) wide |= wide >> s;
                const auto c = static_cast<uint8_t>(wide);
                switch (v >> hamBits) {
                    case 0:
                        r = cmap[value][0], g = cmap[value][1], bl = cmap[value][2];
                        break;
                    case 1:
                        bl = c;
                        break;
                    case 2:
                        r = c;
                        break;
                    default:
                        g = c;
                        break;
                }
                row[3 * x] = bl, row[3 * x + 1] = g, row[3 * x + 2] = r;
            }
        } else if (outBits == 24) {
            for (int x = 0; x < width; ++x) {
                row[3 * x + 2] = static_cast<uint8_t>(gather(line.data(), planeRow, 0, 8, x));
                row[3 * x + 1] = static_cast<uint8_t>(gather(line.data(), planeRow, 8, 8, x));
                row[3 * x] = static_cast<uint8_t>(gather(line.data(), planeRow, 16, 8, x));
            }
        } else {
            for (int x = 0; x < width; ++x) {
                const uint32_t v = gather(line.data(), planeRow, 0, planes, x);
                if (outBits == 8) {
                    row[x] = static_cast<uint8_t>(v);
                } else if (outBits == 4) {
                    uint8_t& o = row[x >> 1];
                    o = (x & 1) ? static_cast<uint8_t>((o & 0xF0) | v)
                                : static_cast<uint8_t>((o & 0x0F) | (v << 4));
                } else {
                    const auto mask = static_cast<uint8_t>(0x80 >> (x & 7));
                    row[x >> 3] = v ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
                }
            }
        }
        ++rowsDone;
    }
    if (rowsDone == 0) {
        deldib(out);
        return fail(ImageError::Damaged, "keine IFF-Bilddaten");
    }
    DecodeResult result;
    result.trueWidth = width;
    result.trueHeight = height;
    result.trueBitCount = outBits;
    if (rowsDone < height || f.bodyCut) result.detail = "unvollständig";
    return result;
}

}  // namespace

const Codec& iffCodec() {
    static const Codec codec{"iff", iffSniff, iffDecode};
    return codec;
}

}  // namespace pr
