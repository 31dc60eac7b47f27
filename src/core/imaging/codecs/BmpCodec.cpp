// Windows and OS/2 bitmaps (.bmp, .dib, .rle).
//
// Checks, in order: the file header and the info header must lie inside the file; width and
// height go through computeDibLayout before anything is allocated; the colour table is read only
// as far as it lies inside the file (missing entries stay black); pixel data starts at bfOffBits
// and every row is read only as far as the file reaches; RLE runs and deltas are clipped to the
// picture, so a forged run can never write outside a row. A file without any pixel data is
// refused rather than allocated; one cut short keeps the rows it has and the rest is white.
//
// Bit fields: channels narrower than 8 bits are widened by repeating their bits (BmpPixels.h); an
// alpha mask (V3/V4/V5 headers, BI_ALPHABITFIELDS, 16-bit A4R4G4B4 and A1R5G5B5) is laid over
// white, as PNG and TGA alpha are.

#include <algorithm>
#include <cstring>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/BmpPixels.h"
#include "core/imaging/codecs/Codec.h"
#include "core/io/ByteReader.h"

namespace pr {
namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

bool sniffBmp(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

struct BmpHeader {
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (0: none)
    bool os2v1 = false;
    size_t tableOffset = 0;  // first colour table entry
    size_t dataOffset = 0;
};

// The bit count must suit the compression; plain 16- and 32-bit pictures get the default masks.
DecodeResult checkDepth(BmpHeader& h) {
    switch (h.compression) {
        case kBiRgb:
            if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 &&
                h.bits != 32)
                return decodeFailure(ImageError::Unsupported, "Farbtiefe");
            break;
        case kBiRle8:
            if (h.bits != 8) return decodeFailure(ImageError::Damaged, "RLE8 ohne 8 Bit");
            break;
        case kBiRle4:
            if (h.bits != 4) return decodeFailure(ImageError::Damaged, "RLE4 ohne 4 Bit");
            break;
        case kBiBitfields:
        case kBiAlphaBitfields:
            if (h.bits != 16 && h.bits != 32)
                return decodeFailure(ImageError::Damaged, "Farbmasken");
            break;
        default:
            return decodeFailure(ImageError::Unsupported, "Kompression");
    }
    if (h.compression == kBiRgb && (h.bits == 16 || h.bits == 32)) {
        if (h.bits == 16) {
            h.masks[0] = 0x7C00;
            h.masks[1] = 0x03E0;
            h.masks[2] = 0x001F;
        } else {
            h.masks[0] = 0x00FF0000;
            h.masks[1] = 0x0000FF00;
            h.masks[2] = 0x000000FF;
        }
    }
    return DecodeResult{};
}

// Reads both header kinds; sizes 12 (OS/2 1.x), 16..64 (OS/2 2.x, the first 40 bytes laid out as
// Windows') and 40/52/56/108/124 (Windows).
DecodeResult readHeader(const uint8_t* data, size_t size, BmpHeader& h) {
    if (size < 14 + 12) return decodeFailure(ImageError::Damaged, "Kopf unvollständig");
    ByteReader in(data, size);
    in.seek(10);
    const uint32_t offBits = in.u32();
    const uint32_t headerSize = in.u32();
    if (headerSize < 12 || headerSize > size - 14)
        return decodeFailure(ImageError::Damaged, "Kopf unvollständig");
    // The header lies inside the file from here on, so the reads below all succeed.
    if (headerSize == 12) {
        h.os2v1 = true;
        h.width = in.u16();
        h.height = static_cast<int16_t>(in.u16());
        in.skip(2);  // planes
        h.bits = in.u16();
    } else {
        if (headerSize < 16) return decodeFailure(ImageError::Damaged, "Kopf unvollständig");
        h.width = in.i32();
        h.height = in.i32();
        in.skip(2);  // planes
        h.bits = in.u16();
        // OS/2 2.x headers may stop after the bit count; the missing fields count as zero.
        if (headerSize >= 20) h.compression = in.u32();
        if (headerSize >= 36) {
            in.seek(14 + 32);
            h.colorsUsed = in.u32();
        }
        const bool windows = headerSize == 40 || headerSize == 52 || headerSize == 56 ||
                             headerSize == 108 || headerSize == 124;
        // Compression 3 means bit fields in Windows headers but Huffman 1D in OS/2 2.x ones,
        // and 4 is Huffman RLE24 there; neither is in use anywhere worth the code.
        if (!windows && h.compression >= 3)
            return decodeFailure(ImageError::Unsupported, "OS/2-Kompression");
        if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
            // Masks live inside the larger headers and after the 40-byte one; an alpha mask in
            // headers of 56 bytes and more (V3, V4, V5), or after the 40-byte one for
            // BI_ALPHABITFIELDS.
            in.seek(14 + 40);
            const bool alpha = headerSize >= 56 || h.compression == kBiAlphaBitfields;
            for (int i = 0; i < (alpha ? 4 : 3); ++i) h.masks[i] = in.u32();
            if (!in.ok()) return decodeFailure(ImageError::Damaged, "Farbmasken fehlen");
        }
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (h.width <= 0 || h.height <= 0) return decodeFailure(ImageError::Damaged, "Bildgröße");
    const DecodeResult depth = checkDepth(h);
    if (!depth.ok()) return depth;
    h.tableOffset = 14 + static_cast<size_t>(headerSize);
    if (headerSize == 40 && h.compression == kBiBitfields) h.tableOffset += 12;
    if (headerSize == 40 && h.compression == kBiAlphaBitfields) h.tableOffset += 16;
    h.dataOffset = offBits;
    return DecodeResult{};
}

// Colour table: entries the header promises, capped at 2^bits and at what the file holds before
// the pixel data. Anything missing stays black, so any palette index reads a defined colour.
void readColorTable(const uint8_t* data, size_t size, const BmpHeader& h, BitmapInfo& table) {
    const int maxEntries = 1 << h.bits;
    int count = h.colorsUsed == 0 || h.colorsUsed > static_cast<uint32_t>(maxEntries)
                    ? maxEntries
                    : static_cast<int>(h.colorsUsed);
    const size_t entrySize = h.os2v1 ? 3 : 4;
    size_t end = size;
    if (h.dataOffset > h.tableOffset && h.dataOffset < end) end = h.dataOffset;
    if (h.tableOffset >= end) return;
    count = static_cast<int>(std::min<size_t>(count, (end - h.tableOffset) / entrySize));
    for (int i = 0; i < count; ++i) {
        const uint8_t* q = data + h.tableOffset + i * entrySize;
        table.colors[i] = RgbQuad{q[0], q[1], q[2], 0};
    }
}

// The header read and judged, with what follows from it: the depth of the picture, the layout of
// the stored rows and where they start.
struct BmpPlan {
    BmpHeader h;
    int outBits = 0;
    DibLayout inLayout;
    size_t avail = 0;  // bytes of pixel data in the file
    bool rle() const { return h.compression == kBiRle8 || h.compression == kBiRle4; }
};

DecodeResult plan(const uint8_t* data, size_t size, BmpPlan& p) {
    if (!sniffBmp(data, size)) return decodeFailure(ImageError::UnknownFormat);
    BmpHeader& h = p.h;
    const DecodeResult r = readHeader(data, size, h);
    if (!r.ok()) return r;
    p.outBits = h.bits > 8 ? 24 : h.bits;
    DibLayout outLayout;
    const SizeCheck sc = computeDibLayout(h.width, h.height, p.outBits, outLayout);
    if (sc != SizeCheck::Ok)
        return decodeFailure(sc == SizeCheck::TooLarge ? ImageError::TooLarge
                                                       : ImageError::Damaged);
    if (computeDibLayout(h.width, h.height, h.bits, p.inLayout) != SizeCheck::Ok)
        return decodeFailure(ImageError::TooLarge);
    if (h.dataOffset == 0 || h.dataOffset < h.tableOffset) {
        // Some writers leave bfOffBits zero; the pixels then follow the colour table.
        const size_t entries = h.bits <= 8 ? (h.colorsUsed ? h.colorsUsed : 1u << h.bits) : 0;
        h.dataOffset = h.tableOffset + std::min<size_t>(entries, 256) * (h.os2v1 ? 3 : 4);
    }
    if (h.dataOffset >= size) return decodeFailure(ImageError::Damaged, "keine Bilddaten");
    p.avail = size - h.dataOffset;
    return DecodeResult{};
}

DecodeResult headerBmp(const uint8_t* data, size_t size, PictureHeader& out) {
    BmpPlan p;
    const DecodeResult r = plan(data, size, p);
    if (!r.ok()) return r;
    const auto rows = static_cast<uint64_t>(p.h.height);
    if (p.rle()) {
        // A run of two bytes paints at most 255 pixels. Skips (deltas, end of bitmap) leave the
        // rest of a picture unpainted; they do not count as rows the file holds.
        return announcedPicture(
            out, p.h.width, p.h.height, p.outBits,
            rowsAtDensity(p.avail, 128, static_cast<uint64_t>(p.h.width), rows));
    }
    const auto inRow = static_cast<uint64_t>(p.inLayout.rowBytes);
    out.bytesNeeded = p.h.dataOffset + inRow * rows;
    return announcedPicture(out, p.h.width, p.h.height, p.outBits,
                            rowsAtDensity(p.avail, 1, inRow, rows));
}

DecodeResult decodeBmp(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    BmpPlan p;
    const DecodeResult r = plan(data, size, p);
    if (!r.ok()) return r;
    const BmpHeader& h = p.h;
    BitmapInfo table;
    if (h.bits <= 8) readColorTable(data, size, h, table);
    ImageBuffer img;
    if (!newdib(img, static_cast<int>(h.width), static_cast<int>(h.height), p.outBits,
                h.bits <= 8 ? &table : nullptr, h.bits <= 8 ? 1 << h.bits : 0))
        return decodeFailure(ImageError::OutOfMemory);

    const uint8_t* pixels = data + h.dataOffset;
    const int height = static_cast<int>(h.height);
    if (p.rle()) {
        decodeBmpRle(pixels, p.avail, h.compression == kBiRle4, h.topDown, img);
        out = std::move(img);
        return decodedPicture(static_cast<int>(h.width), height, p.outBits);
    }
    // Rows in file order: whole ones, then the one the file ends in (its missing end white).
    const size_t inRow = static_cast<size_t>(p.inLayout.rowBytes);
    const int wholeRows = static_cast<int>(std::min<size_t>(p.avail / inRow, height));
    const size_t partial = wholeRows < height ? p.avail - wholeRows * inRow : 0;
    const int rows = wholeRows + (partial > 0 ? 1 : 0);
    const uint8_t white = whiteFillByte(img);
    const int bytesPer = h.bits / 8;
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    // Many writers declare an alpha mask and leave it zero everywhere; such a picture would
    // vanish, so it counts as opaque.
    if (masks[3] && h.bits > 8) {
        bool any = false;
        for (int i = 0; i < rows && !any; ++i) {
            const size_t have = i < wholeRows ? inRow : partial;
            any = anyBitfieldAlpha(pixels + i * inRow,
                                   static_cast<int>(std::min<int64_t>(h.width, have / bytesPer)),
                                   h.bits, masks[3]);
        }
        if (!any) masks[3] = 0;
    }
    for (int i = 0; i < rows; ++i) {
        const size_t have = i < wholeRows ? inRow : partial;
        const uint8_t* src = pixels + i * inRow;  // inside the file: i * inRow < avail
        uint8_t* dst = img.storedRow(h.topDown ? height - 1 - i : i);
        if (have < inRow) std::memset(dst, white, static_cast<size_t>(img.rowBytes));
        if (h.bits <= 8 || h.bits == 24) {
            std::memcpy(dst, src, std::min<size_t>(have, img.rowBytes));
        } else {
            const int n = static_cast<int>(std::min<int64_t>(h.width, have / bytesPer));
            convertBitfieldRow(src, n, h.bits, masks, dst);
        }
    }
    out = std::move(img);
    DecodeResult result = decodedPicture(static_cast<int>(h.width), height, p.outBits, rows);
    result.bottomUp = !h.topDown;
    return result;
}

}  // namespace

const Codec& bmpCodec() {
    static const Codec codec{"bmp", sniffBmp, headerBmp, decodeBmp};
    return codec;
}

}  // namespace pr
