#include "core/imaging/DrawDib.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/RasterLibrary.h"

namespace pr {

// "Funtkion" is misspelt on purpose: it is the text users of the program have always seen.
const char* const kMsgBitmapNotCreated = "Konnte Bitmap nicht erzeugen!";
const char* const kMsgNoSetDibits = "Das Gerät unterstützt die Funtkion setdibits nicht!";
const char* const kMsgNoStretchBlt = "Das Gerät unterstützt die Funktion StretchBlt nicht!";

namespace {

// Row blocks larger than this go to the device in several blocks, so that a huge destination
// never needs one huge allocation. Ordinary drawings (a full screen is about 8 MiB) are one block.
constexpr int64_t kMaxRowBlockBytes = int64_t{64} << 20;

// Nearest integer, halves to even (the default rounding mode), clamped to int.
int roundEven(double v) {
    v = std::nearbyint(v);
    if (!(v > INT_MIN)) return INT_MIN;
    if (v > INT_MAX) return INT_MAX;
    return static_cast<int>(v);
}

// The rectangles after clipping the source to the picture, keeping the scale.
struct Clipped {
    DibRect dest;
    DibRect source;
};

// Clips right, bottom, top and left in that order, each edge scaling the destination by the part
// of the source that remains. False when nothing remains to draw.
bool clipToPicture(int imageWidth, int imageHeight, Clipped& c) {
    DibRect& d = c.dest;
    DibRect& s = c.source;
    // 64-bit throughout: callers may pass rectangles far outside the picture.
    if (int64_t{s.x} + s.width > imageWidth) {
        const int64_t width = int64_t{imageWidth} - s.x;
        if (width <= 0) return false;
        d.width = roundEven(static_cast<double>(d.width) * width / s.width);
        s.width = static_cast<int>(width);
    }
    if (s.y < 0) {
        const int64_t height = int64_t{s.height} + s.y;
        if (height <= 0) return false;
        d.height = roundEven(static_cast<double>(height) * d.height / s.height);
        s.height = static_cast<int>(height);
        s.y = 0;
    }
    if (int64_t{s.y} + s.height > imageHeight) {
        const int64_t height = int64_t{imageHeight} - s.y;
        if (height <= 0) return false;
        const int newDestHeight = roundEven(static_cast<double>(d.height) * height / s.height);
        d.y += d.height - newDestHeight;
        d.height = newDestHeight;
        s.height = static_cast<int>(height);
    }
    if (s.x < 0) {
        const int64_t width = int64_t{s.x} + s.width;
        if (width <= 0) return false;
        const int newDestWidth = roundEven(static_cast<double>(width) * d.width / s.width);
        d.x += d.width - newDestWidth;
        d.width = newDestWidth;
        s.width = static_cast<int>(width);
        s.x = 0;
    }
    return d.width > 0 && d.height > 0;
}

// Builds the destination rows of a 24-bit (3 bytes) or 8-bit (1 byte) picture by table look-up
// and sends them as blocks of rows. Equal to building one row at a time: a row that maps to the
// same source row as the one above is a copy of it, rows outside the picture are black.
bool drawRows(DibTarget& target, const DibRect& dest, const ImageBuffer& buffer,
              const DibRect& source, int bytesPerPixel) {
    if (!buffer.valid() || buffer.bitCount() != 8 * bytesPerPixel || dest.width <= 0 ||
        dest.height <= 0 || source.width <= 0 || source.height <= 0)
        return false;
    const int bits = 8 * bytesPerPixel;
    const int64_t blockRowBytes = dibRowBytes(dest.width, bits);
    if (blockRowBytes == 0) return false;
    const int bandRows =
        static_cast<int>(std::clamp<int64_t>(kMaxRowBlockBytes / blockRowBytes, 1, dest.height));

    const int imageWidth = buffer.width();
    const int imageHeight = buffer.height();
    // Byte offset in a source row of each destination column; the columns inside the picture
    // form one run [firstCol, endCol) because the source column never decreases.
    std::vector<int64_t> columnByte(static_cast<size_t>(dest.width));
    int firstCol = dest.width, endCol = 0;
    for (int i = 0; i < dest.width; ++i) {
        const int64_t col = source.x + int64_t{source.width} * i / dest.width;
        columnByte[i] = col * bytesPerPixel;
        if (col >= 0 && col < imageWidth) {
            firstCol = std::min(firstCol, i);
            endCol = i + 1;
        }
    }

    const int64_t imageBytes = int64_t{buffer.rowBytes} * imageHeight;
    const int64_t topRow = int64_t{imageHeight} - source.y - source.height;
    const bool withTable = bits == 8;
    ImageBuffer block;
    bool ok = true;
    for (int k0 = 0; k0 < dest.height; k0 += bandRows) {
        const int rows = std::min(bandRows, dest.height - k0);
        if (!newdib(block, dest.width, rows, bits, withTable ? buffer.info : nullptr,
                    withTable ? 256 : 0))
            return false;
        int64_t previousOffset = -1;
        const uint8_t* previousRow = nullptr;
        for (int r = 0; r < rows; ++r) {
            const int k = k0 + r;
            uint8_t* out = block.rowFromTop(r);
            const int64_t row = topRow + int64_t{source.height} * k / dest.height;
            const int64_t offset = (imageHeight - 1 - row) * buffer.rowBytes;
            if (offset < 0 || offset >= imageBytes) {
                previousRow = nullptr;  // stays black: newdib clears the block
                continue;
            }
            if (offset == previousOffset && previousRow) {
                std::memcpy(out, previousRow, static_cast<size_t>(blockRowBytes));
            } else {
                const uint8_t* in = buffer.bits + offset;
                if (bytesPerPixel == 3) {
                    for (int i = firstCol; i < endCol; ++i) {
                        const uint8_t* p = in + columnByte[i];
                        uint8_t* o = out + 3 * static_cast<size_t>(i);
                        o[0] = p[0];
                        o[1] = p[1];
                        o[2] = p[2];
                    }
                } else {
                    for (int i = firstCol; i < endCol; ++i) out[i] = in[columnByte[i]];
                }
            }
            previousOffset = offset;
            previousRow = out;
        }
        if (!target.setDIBitsToDevice(dest.x, dest.y + k0, block)) ok = false;
    }
    deldib(block);
    return ok;
}

// Source index for destination index i of n, spreading the first to the last source pixel over
// the destination; a destination of one pixel takes the first.
inline int64_t sampleIndex(int first, int sourceLength, int64_t i, int destLength) {
    return destLength > 1 ? first + (sourceLength - 1) * i / (destLength - 1) : first;
}

// Nearest-neighbour copy of the (clipped) source rectangle at destination size, in the picture's
// own depth and colour table. Stored rows map to stored rows, so the picture stays upright.
bool sampleToSize(const ImageBuffer& buffer, const DibRect& source, int width, int height,
                  ImageBuffer& out) {
    const int bits = buffer.bitCount();
    if (!newdib(out, width, height, bits, buffer.info, buffer.tableSize())) return false;
    std::vector<int64_t> columns(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) columns[i] = sampleIndex(source.x, source.width, i, width);
    const size_t outRowBytes = static_cast<size_t>(out.rowBytes);
    int64_t previousRow = -1;
    for (int j = 0; j < height; ++j) {
        const int64_t row = sampleIndex(source.y, source.height, j, height);
        uint8_t* o = out.storedRow(j);
        if (row == previousRow) {
            std::memcpy(o, out.storedRow(j - 1), outRowBytes);
            continue;
        }
        previousRow = row;
        const uint8_t* in = buffer.storedRow(static_cast<int>(row));
        switch (bits) {
            case 24:
                for (int i = 0; i < width; ++i) std::memcpy(o + 3 * i, in + 3 * columns[i], 3);
                break;
            case 8:
                for (int i = 0; i < width; ++i) o[i] = in[columns[i]];
                break;
            case 4:
                for (int i = 0; i < width; ++i) {
                    const int64_t c = columns[i];
                    const int v = (c & 1) ? in[c >> 1] & 0x0F : in[c >> 1] >> 4;
                    o[i >> 1] |= static_cast<uint8_t>((i & 1) ? v : v << 4);
                }
                break;
            case 1:
                for (int i = 0; i < width; ++i) {
                    const int64_t c = columns[i];
                    if ((in[c >> 3] >> (7 - (c & 7))) & 1)
                        o[i >> 3] |= static_cast<uint8_t>(0x80 >> (i & 7));
                }
                break;
            default:
                return false;
        }
    }
    return true;
}

void tell(const DrawMessageFn& messages, const char* text) {
    if (messages) messages(text);
}

// Direct stretch, then the nearest-neighbour copy through setDIBitsToDevice, then the
// device-dependent bitmap.
void drawDirect(DibTarget& target, const Clipped& c, const ImageBuffer& buffer, uint32_t rop,
                const DrawMessageFn& messages) {
    if (target.stretchDIBits(c.dest, c.source, buffer, rop)) return;

    if (target.rasterCaps() & kRasterCapsDibToDevice) {
        ImageBuffer sampled;
        const bool sent = sampleToSize(buffer, c.source, c.dest.width, c.dest.height, sampled) &&
                          target.setDIBitsToDevice(c.dest.x, c.dest.y, sampled);
        deldib(sampled);
        if (sent) return;
    }

    std::unique_ptr<DeviceBitmap> bitmap =
        target.createCompatibleBitmap(buffer.width(), buffer.height());
    if (!bitmap) {
        tell(messages, kMsgBitmapNotCreated);
        return;
    }
    if (!bitmap->setBits(buffer)) {
        tell(messages, kMsgNoSetDibits);
        return;
    }
    if (!bitmap->stretchBlt(c.dest, c.source, rop)) tell(messages, kMsgNoStretchBlt);
}

// Halftones the picture to the fixed palette (reduced first when the destination is smaller) and
// stretches the copy. False when the copy cannot be made.
bool drawHalftoned(DibTarget& target, const Clipped& c, const ImageBuffer& buffer, uint32_t rop) {
    const int imageWidth = buffer.width();
    const int imageHeight = buffer.height();
    const bool reduce = c.source.width > c.dest.width || c.source.height > c.dest.height;
    ImageBuffer copy;
    DibRect source = c.source;
    if (reduce) {
        const int copyWidth =
            std::max(1, roundEven(static_cast<double>(imageWidth) * c.dest.width / c.source.width));
        const int copyHeight = std::max(
            1, roundEven(static_cast<double>(imageHeight) * c.dest.height / c.source.height));
        if (!DIBHalftoneDIBXY(copy, buffer, copyWidth, copyHeight)) return false;
        source = DibRect{roundEven(static_cast<double>(copyWidth) * c.source.x / imageWidth),
                         roundEven(static_cast<double>(copyHeight) * c.source.y / imageHeight),
                         c.dest.width, c.dest.height};
    } else if (!DIBHalftoneDIB(copy, buffer)) {
        return false;
    }
    const PaletteHandle before = target.selectPalette(copy.paletteHandle);
    target.realizePalette();
    target.stretchDIBits(c.dest, source, copy, rop);
    target.selectPalette(before);
    deldib(copy);
    return true;
}

}  // namespace

void DrawDib(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
             const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight,
             bool halftone, uint32_t rop, bool useBufferPalette, const PaletteHandle& palette,
             const DrawMessageFn& messages) {
    if (!buffer.valid() || destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0)
        return;
    const bool printer = target.isPrinter();
    target.setStretchMode(kStretchColorOnColor);

    Clipped c{DibRect{destX, destY, destWidth, destHeight},
              DibRect{srcLeft, srcTop, srcWidth, srcHeight}};
    if (!clipToPicture(buffer.width(), buffer.height(), c)) return;

    PaletteHandle previous;
    bool selected = false;
    if (buffer.hasPalette) {
        const PaletteHandle& chosen = useBufferPalette ? buffer.paletteHandle : palette;
        if (chosen) {
            previous = target.selectPalette(chosen);
            target.realizePalette();
            selected = true;
        }
    }

    const int bits = buffer.bitCount();
    if (bits == 24 && halftone && GetDisplayBitsPerPixel(target) <= 8 &&
        drawHalftoned(target, c, buffer, rop)) {
        // drawn
    } else if (bits == 24 && !printer) {
        DrawDibRows24(target, c.dest.x, c.dest.y, c.dest.width, c.dest.height, buffer, c.source.x,
                      c.source.y, c.source.width, c.source.height);
    } else if (bits == 8 && !printer) {
        DrawDibRows8(target, c.dest.x, c.dest.y, c.dest.width, c.dest.height, buffer, c.source.x,
                     c.source.y, c.source.width, c.source.height);
    } else {
        drawDirect(target, c, buffer, rop, messages);
    }

    if (selected) target.selectPalette(previous);
}

bool renditionToImage(const Rendition& r, ImageBuffer& out) {
    if (!r.valid() || !newdib(out, r.width, r.height, 24)) return false;
    for (int y = 0; y < r.height; ++y) {
        const uint32_t* in = r.row(y);
        uint8_t* o = out.rowFromTop(y);
        for (int x = 0; x < r.width; ++x, o += 3) {
            o[0] = static_cast<uint8_t>(in[x]);
            o[1] = static_cast<uint8_t>(in[x] >> 8);
            o[2] = static_cast<uint8_t>(in[x] >> 16);
        }
    }
    return true;
}

void DrawRendition(DibTarget& target, int x, int y, const Rendition& rendition, bool halftone,
                   const DrawMessageFn& messages) {
    if (!rendition.valid()) return;
    const bool paletteDisplay = halftone && GetDisplayBitsPerPixel(target) <= 8;
    if (!paletteDisplay && target.drawRendition(x, y, rendition)) return;
    ImageBuffer picture;
    if (!renditionToImage(rendition, picture)) return;
    DrawDib(target, x, y, rendition.width, rendition.height, picture, 0, 0, rendition.width,
            rendition.height, halftone, kSrcCopy, false, nullptr, messages);
}

bool DrawDibRows24(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
                   const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth,
                   int srcHeight) {
    return drawRows(target, DibRect{destX, destY, destWidth, destHeight}, buffer,
                    DibRect{srcLeft, srcTop, srcWidth, srcHeight}, 3);
}

bool DrawDibRows8(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
                  const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight) {
    return drawRows(target, DibRect{destX, destY, destWidth, destHeight}, buffer,
                    DibRect{srcLeft, srcTop, srcWidth, srcHeight}, 1);
}

int GetDibWidth(const ImageBuffer& buffer) {
    return buffer.width();
}
int GetDibHeight(const ImageBuffer& buffer) {
    return buffer.height();
}
int GetDibBitCount(const ImageBuffer& buffer) {
    return buffer.bitCount();
}

int GetDibColorCount(const ImageBuffer& buffer) {
    int count = 1;
    for (int i = 0; i < buffer.bitCount() && i < 30; ++i) count *= 2;
    return count;
}

int GetDisplayBitsPerPixel(const DibTarget& target) {
    return target.displayBitsPerPixel();
}

}  // namespace pr
