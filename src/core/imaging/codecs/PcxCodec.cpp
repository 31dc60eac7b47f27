// PCX reader (ZSoft Paintbrush): 1-bit, 2/4-bit packed, 2..4 planes of 1 bit (EGA), 8-bit with the
// 256-colour table at the end of the file, and 3 or 4 planes of 8 bits (true colour).
//
// What it checks: the 128-byte header (window, bits x planes, bytes per line against the width)
// before anything is allocated; the picture size through newdib/Limits.h; the RLE stream byte by
// byte against the end of the pixel data, which stops before the trailing colour table.
// A file that ends early keeps the rows decoded so far; decodeWith whitens the rest.

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/RunLengthStream.h"
#include "core/io/ByteReader.h"

namespace pr {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailingPaletteSize = 769;  // 0x0C marker + 256 x RGB

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
    ByteReader in(d, kHeaderSize);
    in.skip(1);  // manufacturer
    h.version = in.u8();
    h.encoding = in.u8();
    h.bitsPerPixel = in.u8();
    const int xmin = in.u16(), ymin = in.u16(), xmax = in.u16(), ymax = in.u16();
    in.seek(65);
    h.planes = in.u8();
    h.bytesPerLine = in.u16();
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

// PCX run-length coding: a byte with both top bits set repeats the next byte (its low six bits
// times); any other byte stands for itself. Bytes that stand for themselves are handed out as one
// literal run, so they are copied in one go rather than one packet each.
struct PcxPackets {
    static bool isRun(uint8_t c) { return (c & 0xC0) == 0xC0; }

    static bool next(ByteReader& in, RunPacket& run) {
        const size_t left = in.remaining();
        const uint8_t* ahead = in.peek(left);
        if (left == 0) return false;
        if (isRun(ahead[0])) {
            if (left < 2) return false;
            run = RunPacket{static_cast<size_t>(ahead[0] & 0x3F), false, ahead[1]};
            in.skip(2);
            return true;
        }
        size_t literals = 1;
        while (literals < left && !isRun(ahead[literals])) ++literals;
        run = RunPacket{literals, true, 0};  // the bytes stay in `in` and are read as data
        return true;
    }
};

// The depth a picture gets: 1 bit stays, 2 to 4 planes of 1 bit and packed 2 or 4 bits become 4,
// 8 bits stay, 3 or 4 planes of 8 bits become 24; 0 for anything else.
int outBitsFor(const PcxHeader& h) {
    const int bpp = h.bitsPerPixel, planes = h.planes;
    if (bpp == 1 && planes == 1) return 1;
    if ((bpp == 1 && planes <= 4) || ((bpp == 2 || bpp == 4) && planes == 1)) return 4;
    if (bpp == 8 && planes == 1) return 8;
    if (bpp == 8 && (planes == 3 || planes == 4)) return 24;
    return 0;
}

void setColor(ImageBuffer& b, int i, const uint8_t* rgb) {
    b.info->colors[i] = RgbQuad{rgb[2], rgb[1], rgb[0], 0};
}

// The header's 16 colours, the 256 at the end of the file (`trailing`, or null), or for 1 bit the
// header's first two when they differ: most writers leave the header palette empty for
// black-and-white pictures, and a pair of distinct entries means the writer chose the colours.
void setPalette(ImageBuffer& out, const uint8_t* header, const uint8_t* trailing) {
    const uint8_t* headerColours = header + 16;
    switch (out.bitCount()) {
        case 1: {
            static const uint8_t kBlackWhite[6] = {0, 0, 0, 255, 255, 255};
            const bool chosen = std::memcmp(headerColours, headerColours + 3, 3) != 0;
            const uint8_t* two = chosen ? headerColours : kBlackWhite;
            setColor(out, 0, two);
            setColor(out, 1, two + 3);
            break;
        }
        case 4:
            for (int i = 0; i < 16; ++i) setColor(out, i, headerColours + 3 * i);
            break;
        case 8:
            if (trailing) {
                for (int i = 0; i < 256; ++i) setColor(out, i, trailing + 3 * i);
            } else {
                setGreyTable(out);
            }
            break;
        default:
            break;
    }
    syncPalette(out);
}

// One decoded line (all planes) into a picture row.
void convertLine(const PcxHeader& h, int outBits, const uint8_t* line, uint8_t* row) {
    const size_t bpl = static_cast<size_t>(h.bytesPerLine);
    const int w = static_cast<int>(h.width);
    if (outBits == 24) {
        const uint8_t* r = line;
        const uint8_t* g = r + bpl;
        const uint8_t* b = g + bpl;
        for (int x = 0; x < w; ++x) {
            row[3 * x] = b[x];
            row[3 * x + 1] = g[x];
            row[3 * x + 2] = r[x];
        }
    } else if (outBits == 1 || outBits == 8) {
        std::memcpy(row, line, static_cast<size_t>(outBits == 1 ? (w + 7) / 8 : w));
        if (outBits == 1 && (w & 7)) row[w / 8] &= static_cast<uint8_t>(0xFF00 >> (w & 7));
    } else {
        for (int x = 0; x < w; ++x) {
            int v = 0;
            if (h.bitsPerPixel == 1) {
                for (int p = 0; p < h.planes; ++p)
                    v |= ((line[p * bpl + (x >> 3)] >> (7 - (x & 7))) & 1) << p;
            } else if (h.bitsPerPixel == 2) {
                v = (line[x >> 2] >> (6 - 2 * (x & 3))) & 3;
            } else {
                v = (line[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
            }
            uint8_t& o = row[x >> 1];
            o = (x & 1) ? static_cast<uint8_t>((o & 0xF0) | v)
                        : static_cast<uint8_t>((o & 0x0F) | (v << 4));
        }
    }
}

// The header read and judged, with where the pixel data ends.
struct PcxPlan {
    PcxHeader h;
    int outBits = 0;
    size_t dataEnd = 0;
    const uint8_t* trailing = nullptr;  // the 256-colour table at the end, or null
    size_t lineBytes = 0;
};

DecodeResult plan(const uint8_t* d, size_t size, PcxPlan& p) {
    PcxHeader& h = p.h;
    if (!d || !readHeader(d, size, h)) return decodeFailure(ImageError::Damaged, "PCX-Kopf");
    p.outBits = outBitsFor(h);
    if (p.outBits == 0) return decodeFailure(ImageError::Unsupported, "PCX-Farbtiefe");
    DibLayout layout;
    const SizeCheck check = computeDibLayout(h.width, h.height, p.outBits, layout);
    if (check == SizeCheck::TooLarge) return decodeFailure(ImageError::TooLarge);
    if (check != SizeCheck::Ok) return decodeFailure(ImageError::Damaged, "PCX-Größe");
    // A line shorter than the width would make us read pixels that are not there.
    if (int64_t{h.bytesPerLine} * 8 < h.width * h.bitsPerPixel)
        return decodeFailure(ImageError::Damaged, "PCX-Zeilenlänge");
    // An 8-bit picture may end with its colour table; the pixel data stops before it.
    p.dataEnd = size;
    if (p.outBits == 8 && size >= kHeaderSize + kTrailingPaletteSize &&
        d[size - kTrailingPaletteSize] == 0x0C) {
        p.dataEnd = size - kTrailingPaletteSize;
        p.trailing = d + p.dataEnd + 1;
    }
    p.lineBytes = static_cast<size_t>(h.bytesPerLine) * h.planes;
    return DecodeResult{};
}

// The rows are counted by running through the coded data without writing anything.
DecodeResult pcxHeader(const uint8_t* d, size_t size, PictureHeader& out) {
    PcxPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const RunLengthStream<PcxPackets> stream(d + kHeaderSize, p.dataEnd - kHeaderSize,
                                             p.h.encoding == 1);
    const auto rows = static_cast<uint64_t>(p.h.height);
    return announcedPicture(out, p.h.width, p.h.height, p.outBits,
                            stream.reach(p.lineBytes * rows) / p.lineBytes);
}

DecodeResult pcxDecode(const uint8_t* d, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    PcxPlan p;
    const DecodeResult r = plan(d, size, p);
    if (!r.ok()) return r;
    const PcxHeader& h = p.h;
    if (!newdib(out, static_cast<int>(h.width), static_cast<int>(h.height), p.outBits))
        return decodeFailure(ImageError::OutOfMemory);
    setPalette(out, d, p.trailing);

    RunLengthStream<PcxPackets> stream(d + kHeaderSize, p.dataEnd - kHeaderSize, h.encoding == 1);
    std::vector<uint8_t> line(p.lineBytes);
    int rowsDone = 0;
    for (; rowsDone < h.height && stream.read(line.data(), line.size()); ++rowsDone)
        convertLine(h, p.outBits, line.data(), out.rowFromTop(rowsDone));
    if (rowsDone == 0) {
        deldib(out);
        return decodeFailure(ImageError::Damaged, "keine PCX-Bilddaten");
    }
    return decodedPicture(out.width(), out.height(), p.outBits, rowsDone);
}

}  // namespace

const Codec& pcxCodec() {
    static const Codec codec{"pcx", pcxSniff, pcxHeader, pcxDecode};
    return codec;
}

}  // namespace pr
