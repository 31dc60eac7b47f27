// TIFF reader over libtiff, reading the first directory from memory.
//
// What it gives: bilevel pictures as 1 bit, 2-bit pictures as 4 bit, 4- and 8-bit palette and grey
// pictures at their own depth with their colour table (MINISWHITE is turned round in the table, the
// indexes stay as stored); everything else libtiff can read (RGB, 16 bit, CMYK, YCbCr, any
// compression, tiles, alpha composed over white) as 24 bit. An ICC profile (tag 34675) is
// converted to sRGB: in the colour table of palette and grey pictures, row by row for 24 bits. Rows
// are decoded in the order the file stores them; decodeWith then applies the orientation tag for
// every depth (Orientation.h).
//
// Memory: beside the picture itself we hold at most one band of rows (one strip, or one row of
// tiles), so a single-strip file costs one extra full-size copy at worst. libtiff's own buffers are
// capped by TIFFOpenOptionsSetMaxSingleMemAlloc.
//
// What it checks: samples per pixel, bits per sample and the scanline they make, and the picture
// size, against the caps before allocating anything of ours; tile sizes against the same byte cap.
// Everything inside the file (offsets, counts, compressed streams) is checked by libtiff, which
// reads only through the bounded memory procedures below.
//
// Damaged data: a directory libtiff refuses is an error. When the rows break off later, the rows
// decoded so far are kept (decodeWith whitens the rest); when not even the first band decodes, the
// file counts as damaged.

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/Limits.h"
#include "core/imaging/Orientation.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/color/ColourTable.h"
#include "core/imaging/color/SrgbTransform.h"

namespace pr {
namespace {

// libtiff's single buffers (a decoded strip or tile, a raw strip) stay below this; a genuine file
// within our picture limits never needs more.
constexpr tmsize_t kMaxLibtiffAlloc = static_cast<tmsize_t>(512) << 20;

struct MemoryFile {
    const uint8_t* data;
    uint64_t size;
    uint64_t pos;
};

tmsize_t readProc(thandle_t h, void* buffer, tmsize_t wanted) {
    auto* f = static_cast<MemoryFile*>(h);
    if (wanted <= 0 || f->pos >= f->size) return 0;
    const uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(wanted), f->size - f->pos);
    std::memcpy(buffer, f->data + f->pos, static_cast<size_t>(n));
    f->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    uint64_t base = 0;
    switch (whence) {
        case SEEK_SET:
            base = 0;
            break;
        case SEEK_CUR:
            base = f->pos;
            break;
        case SEEK_END:
            base = f->size;
            break;
        default:
            return static_cast<toff_t>(-1);
    }
    // Offsets come from the file; a seek past the end is allowed (reads there give nothing), one
    // that wraps is not.
    if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
    f->pos = base + offset;
    return f->pos;
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t h) {
    return static_cast<MemoryFile*>(h)->size;
}

// Handing libtiff the buffer as a "mapped file" lets it decode uncompressed strips without a copy.
int mapProc(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    *base = const_cast<uint8_t*>(f->data);  // opened read-only: libtiff never writes through it
    *size = f->size;
    return 1;
}
void unmapProc(thandle_t, void*, toff_t) {}

int swallowMessage(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// Messages that libtiff raises before a handle exists go to the process-wide handlers, which print
// to stderr by default; a picture browser must stay quiet about every damaged file it passes.
void silenceGlobalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

bool sniffTiff(const uint8_t* d, size_t size) {
    if (size < 4) return false;
    // Classic TIFF (42) and BigTIFF (43), both byte orders.
    return (d[0] == 'I' && d[1] == 'I' && (d[2] == 42 || d[2] == 43) && d[3] == 0) ||
           (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && (d[3] == 42 || d[3] == 43));
}

struct Directory {
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISBLACK,
             planar = PLANARCONFIG_CONTIG;
    uint16_t orientation = ORIENTATION_TOPLEFT, sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t extraCount = 0;
    const uint16_t* extraTypes = nullptr;
    bool tiled = false;
};

bool readDirectory(TIFF* tif, Directory& d) {
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &d.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &d.height))
        return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &d.bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &d.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &d.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &d.orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &d.sampleFormat);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &d.extraCount, &d.extraTypes);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &d.photometric))
        d.photometric =
            d.samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;  // as libtiff guesses
    d.tiled = TIFFIsTiled(tif) != 0;
    if (d.orientation < 1 || d.orientation > 8) d.orientation = ORIENTATION_TOPLEFT;
    return true;
}

// Pictures with one sample of 1, 2, 4 or 8 bits and a grey ramp or colour table keep their depth.
bool isIndexed(const Directory& d) {
    const bool bitsOk = d.bits == 1 || d.bits == 2 || d.bits == 4 || d.bits == 8;
    const bool kindOk = d.photometric == PHOTOMETRIC_MINISWHITE ||
                        d.photometric == PHOTOMETRIC_MINISBLACK ||
                        d.photometric == PHOTOMETRIC_PALETTE;
    const bool formatOk =
        d.sampleFormat == SAMPLEFORMAT_UINT || d.sampleFormat == SAMPLEFORMAT_VOID;
    return d.samples == 1 && bitsOk && kindOk && formatOk;
}

// The ICC profile of tag 34675 as a conversion for pixels of `layout`.
SrgbTransform colourOf(TIFF* tif, PixelLayout layout) {
    uint32_t length = 0;
    const uint8_t* profile = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_ICCPROFILE, &length, &profile) || !profile)
        return SrgbTransform();
    return SrgbTransform::fromIcc(profile, length, layout);
}

// Fills the colour table; false when a palette picture has none.
bool buildTable(TIFF* tif, const Directory& d, BitmapInfo& info) {
    const int n = 1 << d.bits;
    if (d.photometric != PHOTOMETRIC_PALETTE) {
        const bool inverted = d.photometric == PHOTOMETRIC_MINISWHITE;
        for (int i = 0; i < n; ++i) {
            int v = i * 255 / (n - 1);
            if (inverted) v = 255 - v;
            info.colors[i] = RgbQuad{static_cast<uint8_t>(v), static_cast<uint8_t>(v),
                                     static_cast<uint8_t>(v), 0};
        }
        convertColourTable(colourOf(tif, PixelLayout::Grey), info.colors, n);
        return true;
    }
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b) return false;
    // The format stores 16-bit entries, but some old writers put 8-bit values there; a table with
    // no value above 255 is taken as such, as libtiff's own RGBA reader does.
    bool eightBit = true;
    for (int i = 0; i < n && eightBit; ++i) eightBit = r[i] < 256 && g[i] < 256 && b[i] < 256;
    const int shift = eightBit ? 0 : 8;
    for (int i = 0; i < n; ++i)
        info.colors[i] =
            RgbQuad{static_cast<uint8_t>(b[i] >> shift), static_cast<uint8_t>(g[i] >> shift),
                    static_cast<uint8_t>(r[i] >> shift), 0};
    convertColourTable(colourOf(tif, PixelLayout::Rgb), info.colors, n);
    return true;
}

// Unpacks a row of 1-, 2-, 4- or 8-bit samples (first sample in the high bits) into bytes.
void unpack(const uint8_t* src, int bits, int count, uint8_t* dst) {
    if (bits == 8) {
        std::memcpy(dst, src, static_cast<size_t>(count));
        return;
    }
    const int perByte = 8 / bits;
    const uint8_t mask = static_cast<uint8_t>((1 << bits) - 1);
    for (int i = 0; i < count; ++i) {
        const int shift = 8 - bits * (i % perByte + 1);
        dst[i] = (src[i / perByte] >> shift) & mask;
    }
}

// One row of palette indexes, one byte each, packed into the picture's row at its depth.
void putIndexRow(ImageBuffer& out, int row, const uint8_t* indexes) {
    uint8_t* p = out.rowFromTop(row);
    const int width = out.width();
    switch (out.bitCount()) {
        case 1:
            std::memset(p, 0, static_cast<size_t>(out.rowBytes));
            for (int x = 0; x < width; ++x)
                p[x >> 3] |= static_cast<uint8_t>((indexes[x] & 1u) << (7 - (x & 7)));
            break;
        case 4:
            std::memset(p, 0, static_cast<size_t>(out.rowBytes));
            for (int x = 0; x < width; ++x)
                p[x >> 1] |= static_cast<uint8_t>((indexes[x] & 0x0Fu) << ((x & 1) ? 0 : 4));
            break;
        default:
            std::memcpy(p, indexes, static_cast<size_t>(width));
            break;
    }
}

// A row of blue, green, red into the picture, its colours converted on the way.
void putBgrRow(ImageBuffer& out, int row, const uint8_t* bgr, const SrgbTransform& colour) {
    if (colour.converts())
        colour.toBgr(bgr, out.rowFromTop(row), out.width());
    else
        std::memcpy(out.rowFromTop(row), bgr, static_cast<size_t>(out.width()) * 3);
}

// Reads the rows of an indexed picture; returns the number of file rows that decoded.
int64_t readIndexedRows(TIFF* tif, const Directory& d, ImageBuffer& out) {
    const int w = static_cast<int>(d.width), h = static_cast<int>(d.height);
    std::vector<uint8_t> indexes;
    if (!d.tiled) {
        const tmsize_t lineBytes = TIFFScanlineSize(tif);
        if (lineBytes <= 0 || lineBytes < (static_cast<tmsize_t>(w) * d.bits + 7) / 8) return 0;
        std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
        indexes.resize(static_cast<size_t>(w));
        for (int r = 0; r < h; ++r) {
            if (TIFFReadScanline(tif, line.data(), static_cast<uint32_t>(r), 0) < 0) return r;
            unpack(line.data(), d.bits, w, indexes.data());
            putIndexRow(out, r, indexes.data());
        }
        return h;
    }
    uint32_t tw = 0, th = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &th);
    const tmsize_t tileBytes = TIFFTileSize(tif);
    const tmsize_t tileRowBytes = TIFFTileRowSize(tif);
    // A tile may overhang the picture, but one far larger than the picture itself is a forged
    // header asking us for memory.
    const uint64_t tilePixels = static_cast<uint64_t>(tw) * th;
    const uint64_t picturePixels = static_cast<uint64_t>(d.width) * d.height;
    if (tw == 0 || th == 0 || tileBytes <= 0 || tileRowBytes <= 0 ||
        tilePixels > 4 * picturePixels + 65536 ||
        static_cast<uint64_t>(tileBytes) > kMaxImageBytes ||
        static_cast<uint64_t>(tileRowBytes) * th > static_cast<uint64_t>(tileBytes) ||
        static_cast<uint64_t>(tileRowBytes) * 8 < static_cast<uint64_t>(tw) * d.bits)
        return 0;
    std::unique_ptr<uint8_t[]> tile(new (std::nothrow) uint8_t[static_cast<size_t>(tileBytes)]);
    if (!tile) return 0;
    const int bandRows = static_cast<int>(std::min<uint32_t>(th, d.height));
    const auto white = static_cast<uint8_t>(lightestTableIndex(out));  // where tiles are missing
    std::vector<uint8_t> band(static_cast<size_t>(w) * bandRows);
    for (int y = 0; y < h; y += bandRows) {
        const int rows = std::min(bandRows, h - y);
        std::fill(band.begin(), band.end(), white);
        bool anyTile = false;
        for (uint32_t x = 0; x < d.width; x += tw) {
            const ttile_t index = TIFFComputeTile(tif, x, static_cast<uint32_t>(y), 0, 0);
            if (TIFFReadEncodedTile(tif, index, tile.get(), tileBytes) < 0) continue;
            anyTile = true;
            const int cols = static_cast<int>(std::min<uint32_t>(tw, d.width - x));
            for (int r = 0; r < rows; ++r)
                unpack(tile.get() + static_cast<size_t>(r) * tileRowBytes, d.bits, cols,
                       band.data() + static_cast<size_t>(r) * w + x);
        }
        if (!anyTile) return y;
        for (int r = 0; r < rows; ++r)
            putIndexRow(out, y + r, band.data() + static_cast<size_t>(r) * w);
    }
    return h;
}

// 8-bit RGB in contiguous strips, the common case, decoded a scanline at a time.
bool isPlainRgb8(const Directory& d) {
    return !d.tiled && d.photometric == PHOTOMETRIC_RGB && d.planar == PLANARCONFIG_CONTIG &&
           d.bits == 8 && d.samples >= 3 && d.sampleFormat == SAMPLEFORMAT_UINT;
}

inline uint8_t overWhite(int c, int a, bool premultiplied) {
    const int v = premultiplied ? c + 255 - a : (c * a + 255 * (255 - a) + 127) / 255;
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

int64_t readRgb8Rows(TIFF* tif, const Directory& d, const SrgbTransform& colour, ImageBuffer& out) {
    const int w = static_cast<int>(d.width), h = static_cast<int>(d.height);
    const tmsize_t lineBytes = TIFFScanlineSize(tif);
    if (lineBytes <= 0 || lineBytes < static_cast<tmsize_t>(w) * d.samples) return 0;
    const bool alpha =
        d.samples >= 4 && d.extraCount >= 1 && d.extraTypes &&
        (d.extraTypes[0] == EXTRASAMPLE_ASSOCALPHA || d.extraTypes[0] == EXTRASAMPLE_UNASSALPHA);
    const bool premultiplied = alpha && d.extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    std::vector<uint8_t> bgr(static_cast<size_t>(w) * 3);
    for (int r = 0; r < h; ++r) {
        if (TIFFReadScanline(tif, line.data(), static_cast<uint32_t>(r), 0) < 0) return r;
        const uint8_t* p = line.data();
        for (int c = 0; c < w; ++c, p += d.samples) {
            uint8_t* q = &bgr[static_cast<size_t>(c) * 3];
            if (alpha) {
                q[0] = overWhite(p[2], p[3], premultiplied);
                q[1] = overWhite(p[1], p[3], premultiplied);
                q[2] = overWhite(p[0], p[3], premultiplied);
            } else {
                q[0] = p[2];
                q[1] = p[1];
                q[2] = p[0];
            }
        }
        putBgrRow(out, r, bgr.data(), colour);
    }
    return h;
}

// Everything else goes through libtiff's RGBA reader, one strip or one row of tiles per call.
int64_t readRgbaRows(TIFF* tif, const Directory& d, const SrgbTransform& colour, ImageBuffer& out,
                     bool& unsupported) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) {
        unsupported = true;
        return 0;
    }
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, tif, 1, message)) {
        unsupported = true;
        return 0;
    }
    std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> end(&img, TIFFRGBAImageEnd);
    // We turn the picture ourselves (applyOrientation), so libtiff must not flip rows.
    img.req_orientation = ORIENTATION_TOPLEFT;
    img.orientation = ORIENTATION_TOPLEFT;
    // Grey with alpha comes back with its colour untouched; every other kind premultiplied.
    const bool premultiplied =
        d.photometric != PHOTOMETRIC_MINISBLACK && d.photometric != PHOTOMETRIC_MINISWHITE;
    uint32_t band = 0;
    if (d.tiled)
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &band);
    // A band is decoded whole; anything smaller than a strip would decode the strip again per call.
    band = std::clamp<uint32_t>(band, 1, d.height);
    const int w = static_cast<int>(d.width), h = static_cast<int>(d.height);
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[static_cast<size_t>(w) * band]);
    if (!raster) return 0;
    std::vector<uint8_t> bgr(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; y += static_cast<int>(band)) {
        const uint32_t rows = std::min<uint32_t>(band, static_cast<uint32_t>(h - y));
        img.row_offset = y;
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, raster.get(), d.width, rows)) return y;
        for (uint32_t r = 0; r < rows; ++r) {
            const uint32_t* p = raster.get() + static_cast<size_t>(r) * w;
            for (int c = 0; c < w; ++c) {
                const uint32_t px = p[c];
                const int a = img.alpha ? static_cast<int>(TIFFGetA(px)) : 255;
                uint8_t* q = &bgr[static_cast<size_t>(c) * 3];
                q[0] = overWhite(static_cast<int>(TIFFGetB(px)), a, premultiplied);
                q[1] = overWhite(static_cast<int>(TIFFGetG(px)), a, premultiplied);
                q[2] = overWhite(static_cast<int>(TIFFGetR(px)), a, premultiplied);
            }
            putBgrRow(out, y + static_cast<int>(r), bgr.data(), colour);
        }
    }
    return h;
}

// Most samples per pixel we read (colour, alpha and a few extra channels), and most bits per
// sample: together they bound a scanline to 64 bytes per pixel, whatever the file claims.
constexpr uint16_t kMaxSamples = 16;
constexpr uint16_t kMaxBitsPerSample = 32;

// The open file and its first directory, checked against the caps.
struct OpenTiff {
    MemoryFile file{nullptr, 0, 0};
    std::unique_ptr<TIFFOpenOptions, OptionsFree> options;
    std::unique_ptr<TIFF, TiffCloser> tif;
    Directory d;
    bool indexed = false;
    int bitCount = 0;
    uint64_t rowBytes = 0;  // one row of all samples as the file stores them, uncompressed
};

DecodeResult openTiff(const uint8_t* data, size_t size, OpenTiff& t) {
    if (!data || !sniffTiff(data, size)) return decodeFailure(ImageError::UnknownFormat);
    silenceGlobalHandlers();
    t.options.reset(TIFFOpenOptionsAlloc());
    if (!t.options) return decodeFailure(ImageError::OutOfMemory);
    TIFFOpenOptionsSetErrorHandlerExtR(t.options.get(), swallowMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(t.options.get(), swallowMessage, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(t.options.get(), kMaxLibtiffAlloc);
    t.file = MemoryFile{data, size, 0};
    t.tif.reset(TIFFClientOpenExt("picture.tif", "r", &t.file, readProc, writeProc, seekProc,
                                  closeProc, sizeProc, mapProc, unmapProc, t.options.get()));
    if (!t.tif) return decodeFailure(ImageError::Damaged, "TIFF-Kopf");
    Directory& d = t.d;
    if (!readDirectory(t.tif.get(), d)) return decodeFailure(ImageError::Damaged, "TIFF-Kopf");

    // A row of samples is sized from these before any buffer of ours exists (libtiff's scanline
    // grows with both), so absurd counts are refused here.
    if (d.samples == 0 || d.bits == 0) return decodeFailure(ImageError::Damaged, "TIFF-Kopf");
    if (d.samples > kMaxSamples || d.bits > kMaxBitsPerSample)
        return decodeFailure(ImageError::Unsupported, "TIFF-Farbtiefe");
    t.indexed = isIndexed(d);
    t.bitCount = !t.indexed ? 24 : d.bits == 1 ? 1 : d.bits <= 4 ? 4 : 8;
    // The picture as stored, and as seen (turned by the orientation), must both be allowed.
    DibLayout layout;
    SizeCheck check = computeDibLayout(d.width, d.height, t.bitCount, layout);
    if (check == SizeCheck::Ok && orientationSwapsAxes(d.orientation))
        check = computeDibLayout(d.height, d.width, t.bitCount, layout);
    if (check == SizeCheck::TooLarge) return decodeFailure(ImageError::TooLarge);
    if (check != SizeCheck::Ok) return decodeFailure(ImageError::Damaged, "TIFF-Bildgröße");
    t.rowBytes = (uint64_t{d.width} * d.samples * d.bits + 7) / 8;
    const uint64_t scanline = TIFFScanlineSize64(t.tif.get());
    if (scanline > uint64_t{d.width} * kMaxSamples * kMaxBitsPerSample / 8)
        return decodeFailure(ImageError::Unsupported, "TIFF-Zeilenlänge");
    return DecodeResult{};
}

// How many bytes of rows one byte of the file can give at most, by compression; 0 when the coding
// can pack a whole row into a few bits (fax codings) and -1 when no bound is known.
int64_t densestCoding(TIFF* tif) {
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    switch (compression) {
        case COMPRESSION_NONE:
            return 1;
        case COMPRESSION_PACKBITS:
            return 64;  // two bytes repeat one up to 128 times
        case COMPRESSION_LZW:
            return 2731;  // a code of at most 12 bits stands for at most 4096 bytes
        case COMPRESSION_DEFLATE:
        case COMPRESSION_ADOBE_DEFLATE:
            return 1032;
        case COMPRESSION_JPEG:
        case COMPRESSION_OJPEG:
            return 1024;  // at least a bit for every 8 x 8 block of a sample
        case COMPRESSION_CCITTRLE:
        case COMPRESSION_CCITTRLEW:
        case COMPRESSION_CCITTFAX3:
        case COMPRESSION_CCITTFAX4:
            return 0;
        default:
            return -1;
    }
}

DecodeResult headerTiff(const uint8_t* data, size_t size, PictureHeader& out) {
    OpenTiff t;
    const DecodeResult r = openTiff(data, size, t);
    if (!r.ok()) return r;
    const uint64_t rows = t.d.height;
    const int64_t densest = densestCoding(t.tif.get());
    const uint64_t rowsAtMost = densest > 0    ? rowsAtDensity(size, densest, t.rowBytes, rows)
                                : densest == 0 ? std::min<uint64_t>(rows, uint64_t{size} * 8)
                                               : rows;
    return announcedPicture(out, t.d.width, t.d.height, t.bitCount, rowsAtMost);
}

DecodeResult decodeTiff(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    OpenTiff t;
    const DecodeResult opened = openTiff(data, size, t);
    if (!opened.ok()) return opened;
    const Directory& d = t.d;
    BitmapInfo table;
    if (t.indexed && !buildTable(t.tif.get(), d, table))
        return decodeFailure(ImageError::Damaged, "TIFF-Farbtabelle fehlt");
    if (!newdib(out, static_cast<int>(d.width), static_cast<int>(d.height), t.bitCount,
                t.indexed ? &table : nullptr, t.indexed ? 1 << d.bits : 0))
        return decodeFailure(ImageError::OutOfMemory);

    bool unsupported = false;
    // 24-bit rows are converted as they reach the picture (after alpha was laid over white, which
    // the conversion keeps white); a profile for other samples than RGB (CMYK, grey read as
    // colour) converts nothing.
    const SrgbTransform colour =
        t.indexed ? SrgbTransform() : colourOf(t.tif.get(), PixelLayout::Bgr);
    const int64_t rows = t.indexed        ? readIndexedRows(t.tif.get(), d, out)
                         : isPlainRgb8(d) ? readRgb8Rows(t.tif.get(), d, colour, out)
                                          : readRgbaRows(t.tif.get(), d, colour, out, unsupported);
    if (rows == 0) {
        // Nothing of the picture survived: a white page would only hide that the file is broken.
        deldib(out);
        return decodeFailure(unsupported ? ImageError::Unsupported : ImageError::Damaged,
                             unsupported ? "TIFF-Variante" : "TIFF-Bilddaten");
    }
    DecodeResult result =
        decodedPicture(out.width(), out.height(), t.bitCount, static_cast<int>(rows));
    result.orientation = d.orientation;
    return result;
}

}  // namespace

const Codec& tiffCodec() {
    static const Codec codec{"tiff", sniffTiff, headerTiff, decodeTiff};
    return codec;
}

}  // namespace pr
