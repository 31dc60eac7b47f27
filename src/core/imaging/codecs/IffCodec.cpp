// IFF reader (Amiga "FORM ILBM" interleaved bitplanes and Deluxe Paint's chunky "FORM PBM ").
// 1 plane -> 1 bit, 2..4 planes -> 4 bits, 5..8 planes -> 8 bits with the CMAP colours (a grey ramp
// when there is none); Extra-Half-Brite -> 8 bits with the 32 halved colours added; HAM and 24/32-
// plane deep pictures -> 24 bits. A mask plane is read past and dropped.
//
// What it checks: every chunk length against the bytes that remain (the FORM's own length may
// overstate a truncated file), BMHD before anything is allocated, the picture size through
// computeDibLayout/newdib, and every ByteRun1 run against both the input and the row buffer.
// A BODY that ends early keeps the rows decoded so far; decodeWith whitens the rest.

#include <cstring>
#include <string>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/RunLengthStream.h"
#include "core/io/ByteReader.h"

namespace pr {
namespace {

constexpr uint32_t kCamgEhb = 0x80;
constexpr uint32_t kCamgHam = 0x800;

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
};

void walkChunks(const uint8_t* d, size_t size, IffFile& f) {
    ByteReader in(d, size, ByteOrder::Big);
    in.seek(4);
    size_t end = 8 + static_cast<size_t>(in.u32());
    if (end > size || end < 12) end = size;
    in = ByteReader(d, end, ByteOrder::Big);
    in.seek(12);
    while (in.remaining() >= 8) {
        const uint8_t* id = in.take(4);
        const size_t len = in.u32();
        const size_t left = in.remaining();
        const Chunk c{d + in.position(), len <= left ? len : left};
        if (std::memcmp(id, "BMHD", 4) == 0 && !f.bmhd.data)
            f.bmhd = c;
        else if (std::memcmp(id, "CMAP", 4) == 0 && !f.cmap.data)
            f.cmap = c;
        else if (std::memcmp(id, "CAMG", 4) == 0 && !f.camg.data)
            f.camg = c;
        else if (std::memcmp(id, "BODY", 4) == 0 && !f.body.data)
            f.body = c;
        // Chunks are padded to an even length; a chunk that reaches the end ends the walk.
        if (len >= left || !in.skip(len + (len & 1))) break;
    }
}

// The bitmap header and the display mode, as far as decoding needs them.
struct IffHeader {
    int width = 0, height = 0;
    int planes = 0, masking = 0, compression = 0;
    bool chunky = false, ham = false, ehb = false;
    int outBits = 0;  // 0: a depth this reader does not take
};

IffHeader readHeader(const IffFile& f) {
    IffHeader h;
    ByteReader bmhd(f.bmhd.data, f.bmhd.size, ByteOrder::Big);
    h.width = bmhd.u16();
    h.height = bmhd.u16();
    bmhd.seek(8);
    h.planes = bmhd.u8();
    h.masking = bmhd.u8();
    h.compression = bmhd.u8();
    ByteReader camgChunk(f.camg.data, f.camg.size, ByteOrder::Big);
    const uint32_t camg = camgChunk.u32();  // 0 when there is no CAMG
    h.chunky = f.chunky;
    h.ham = (camg & kCamgHam) && !h.chunky && h.planes >= 3 && h.planes <= 8;
    h.ehb = (camg & kCamgEhb) && !h.ham && !h.chunky && h.planes == 6;
    if (h.chunky)
        h.outBits = h.planes == 8 ? 8 : 0;
    else if (h.ham || h.planes == 24 || h.planes == 32)
        h.outBits = 24;
    else if (h.planes == 1)
        h.outBits = 1;
    else if (h.planes <= 4)
        h.outBits = 4;
    else if (h.planes <= 8)
        h.outBits = 8;
    return h;
}

using ColourMap = uint8_t[256][3];

// CMAP entries as stored; early Amiga writers stored 4-bit colour registers in the high nibble
// (0xF0 for full intensity), which we stretch so white comes out white. Extra-Half-Brite adds the
// 32 halved colours; without a CMAP the indices the planes can hold get a grey ramp.
void readColourMap(const Chunk& chunk, const IffHeader& h, ColourMap& map) {
    const int colours = static_cast<int>(chunk.size / 3 < 256 ? chunk.size / 3 : 256);
    bool nibbles = colours > 0;
    for (int i = 0; i < colours; ++i)
        for (int k = 0; k < 3; ++k) {
            map[i][k] = chunk.data[3 * i + k];
            if (map[i][k] & 0x0F) nibbles = false;
        }
    if (nibbles)
        for (int i = 0; i < colours; ++i)
            for (int k = 0; k < 3; ++k)
                map[i][k] = static_cast<uint8_t>(map[i][k] | (map[i][k] >> 4));
    if (h.ehb)
        for (int i = 0; i < 32; ++i)
            for (int k = 0; k < 3; ++k) map[i + 32][k] = static_cast<uint8_t>(map[i][k] >> 1);
    if (colours == 0 && h.outBits <= 8) {
        const int n = 1 << (h.planes < 8 ? h.planes : 8);
        for (int i = 0; i < n; ++i) {
            const auto v = static_cast<uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
            map[i][0] = map[i][1] = map[i][2] = v;
        }
    }
}

// ByteRun1 (PackBits): n >= 0 takes the next n + 1 bytes, -127..-1 repeats the next byte 1 - n
// times, -128 does nothing.
struct ByteRun1Packets {
    static bool next(ByteReader& in, RunPacket& run) {
        if (in.remaining() == 0) return false;
        const int c = static_cast<int8_t>(in.u8());
        if (c >= 0) {
            run = RunPacket{static_cast<size_t>(c) + 1, true, 0};
            return true;
        }
        if (c == -128) {
            run = RunPacket{};
            return true;
        }
        if (in.remaining() == 0) return false;
        run = RunPacket{static_cast<size_t>(-c) + 1, false, in.u8()};
        return true;
    }
};

// Bit `x` of each of `planes` plane rows (rowBytes apart), plane 0 the lowest bit.
inline uint32_t gather(const uint8_t* line, size_t rowBytes, int firstPlane, int planes, int x) {
    uint32_t v = 0;
    const uint8_t* p = line + firstPlane * rowBytes + (x >> 3);
    const int shift = 7 - (x & 7);
    for (int i = 0; i < planes; ++i, p += rowBytes)
        v |= static_cast<uint32_t>((*p >> shift) & 1) << i;
    return v;
}

// Each row starts from colour 0; a pixel either picks a base colour or keeps the previous pixel's
// colour and changes one component.
void hamRow(const uint8_t* line, size_t planeRow, const IffHeader& h, const ColourMap& map,
            uint8_t* row) {
    const int hamBits = h.planes - 2;
    uint8_t r = map[0][0], g = map[0][1], b = map[0][2];
    for (int x = 0; x < h.width; ++x) {
        const uint32_t v = gather(line, planeRow, 0, h.planes, x);
        const uint32_t value = v & ((1u << hamBits) - 1);
        // Stretch the hamBits-wide value to 8 bits by repeating its bits.
        uint32_t wide = value << (8 - hamBits);
        for (int s = hamBits; s < 8; s += hamBits) wide |= wide >> s;
        const auto c = static_cast<uint8_t>(wide);
        switch (v >> hamBits) {
            case 0:
                r = map[value][0], g = map[value][1], b = map[value][2];
                break;
            case 1:
                b = c;
                break;
            case 2:
                r = c;
                break;
            default:
                g = c;
                break;
        }
        row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
    }
}

// 24 planes of red, green and blue (a 32-plane picture's fourth byte is dropped).
void deepRow(const uint8_t* line, size_t planeRow, int width, uint8_t* row) {
    for (int x = 0; x < width; ++x) {
        row[3 * x + 2] = static_cast<uint8_t>(gather(line, planeRow, 0, 8, x));
        row[3 * x + 1] = static_cast<uint8_t>(gather(line, planeRow, 8, 8, x));
        row[3 * x] = static_cast<uint8_t>(gather(line, planeRow, 16, 8, x));
    }
}

// Palette indexes from the planes, packed at the picture's depth.
void indexRow(const uint8_t* line, size_t planeRow, const IffHeader& h, uint8_t* row) {
    for (int x = 0; x < h.width; ++x) {
        const uint32_t v = gather(line, planeRow, 0, h.planes, x);
        if (h.outBits == 8) {
            row[x] = static_cast<uint8_t>(v);
        } else if (h.outBits == 4) {
            uint8_t& o = row[x >> 1];
            o = (x & 1) ? static_cast<uint8_t>((o & 0xF0) | v)
                        : static_cast<uint8_t>((o & 0x0F) | (v << 4));
        } else {
            const auto mask = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = v ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
        }
    }
}

// The chunks found and the header judged, with the layout of one stored row.
struct IffPlan {
    IffFile f;
    IffHeader h;
    size_t planeRow = 0;
    size_t lineBytes = 0;
};

DecodeResult plan(const uint8_t* d, size_t size, IffPlan& p) {
    if (!iffSniff(d, size)) return decodeFailure(ImageError::Damaged, "IFF-Kopf");
    IffFile& f = p.f;
    f.chunky = std::memcmp(d + 8, "PBM ", 4) == 0;
    walkChunks(d, size, f);
    if (!f.bmhd.data || f.bmhd.size < 20) return decodeFailure(ImageError::Damaged, "IFF-BMHD");
    if (!f.body.data) return decodeFailure(ImageError::Damaged, "IFF-BODY fehlt");
    const IffHeader& h = p.h = readHeader(f);
    if (h.compression > 1) return decodeFailure(ImageError::Unsupported, "IFF-Kompression");
    if (h.planes == 0) return decodeFailure(ImageError::Unsupported, "IFF ohne Bitebenen");
    if (h.outBits == 0) return decodeFailure(ImageError::Unsupported, "IFF-Farbtiefe");
    DibLayout layout;
    const SizeCheck check = computeDibLayout(h.width, h.height, h.outBits, layout);
    if (check == SizeCheck::TooLarge) return decodeFailure(ImageError::TooLarge);
    if (check != SizeCheck::Ok) return decodeFailure(ImageError::Damaged, "IFF-Größe");
    // One stored row: PBM has one byte per pixel padded to an even width; ILBM has each plane's
    // row (a whole number of 16-bit words) and then the mask plane's.
    p.planeRow = h.chunky ? static_cast<size_t>((h.width + 1) & ~1) : ((h.width + 15) / 16) * 2u;
    const int storedPlanes = h.chunky ? 1 : h.planes + (h.masking == 1 ? 1 : 0);
    p.lineBytes = p.planeRow * storedPlanes;
    return DecodeResult{};
}

// The rows are counted by running through the BODY's runs without writing anything.
DecodeResult iffHeader(const uint8_t* d, size_t size, PictureHeader& out) {
    IffPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const RunLengthStream<ByteRun1Packets> stream(p.f.body.data, p.f.body.size,
                                                  p.h.compression == 1);
    const auto rows = static_cast<uint64_t>(p.h.height);
    return announcedPicture(out, p.h.width, p.h.height, p.h.outBits,
                            stream.reach(p.lineBytes * rows) / p.lineBytes);
}

DecodeResult iffDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    IffPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const IffHeader& h = p.h;
    ColourMap map = {};
    readColourMap(p.f.cmap, h, map);
    if (!newdib(out, h.width, h.height, h.outBits)) return decodeFailure(ImageError::OutOfMemory);
    if (h.outBits <= 8) {
        for (int i = 0; i < out.tableSize(); ++i)
            out.info->colors[i] = RgbQuad{map[i][2], map[i][1], map[i][0], 0};
        syncPalette(out);
    }

    RunLengthStream<ByteRun1Packets> stream(p.f.body.data, p.f.body.size, h.compression == 1);
    std::vector<uint8_t> line(p.lineBytes);
    int rowsDone = 0;
    for (; rowsDone < h.height && stream.read(line.data(), line.size()); ++rowsDone) {
        uint8_t* row = out.rowFromTop(rowsDone);
        if (h.chunky)
            std::memcpy(row, line.data(), static_cast<size_t>(h.width));
        else if (h.ham)
            hamRow(line.data(), p.planeRow, h, map, row);
        else if (h.outBits == 24)
            deepRow(line.data(), p.planeRow, h.width, row);
        else
            indexRow(line.data(), p.planeRow, h, row);
    }
    if (rowsDone == 0) {
        deldib(out);
        return decodeFailure(ImageError::Damaged, "keine IFF-Bilddaten");
    }
    return decodedPicture(h.width, h.height, h.outBits, rowsDone);
}

}  // namespace

const Codec& iffCodec() {
    static const Codec codec{"iff", iffSniff, iffHeader, iffDecode};
    return codec;
}

}  // namespace pr
