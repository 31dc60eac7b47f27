// PNG through libpng.
//
// Checks: libpng verifies chunk lengths, CRCs of critical chunks and the zlib stream; the frame
// size goes through computeDibLayout (and libpng's own user limits) before anything is allocated;
// the memory reader never hands out more bytes than remain. Errors come back through longjmp to a
// point where only the job's own members are live, and the picture is handed out at the end.
//
// Depths: palette and grey pictures of 1, 4 and 8 bits keep their depth, 2-bit ones become 4-bit,
// 16-bit grey becomes 8-bit grey. Everything with colour or alpha becomes 24 bits. Transparency is
// composed over white: for palette and low-depth grey pictures that happens in the colour table
// (a tRNS grey value becomes a white table entry), which gives the same pixels at a smaller depth.
//
// An ICC profile (iCCP) is converted to sRGB, unless an sRGB chunk says the picture is sRGB:
// palette and grey pictures through their table, colour rows as libpng hands them out (those
// with alpha before alpha is laid over white). Grey pictures that carry alpha come out as colour
// rows, to which a grey profile does not apply; they stay as stored.

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "core/imaging/DibSize.h"
#include "core/imaging/Limits.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/color/ColourTable.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

namespace pr {
namespace {

bool sniffPng(const uint8_t* data, size_t size) {
    static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, kSig, 8) == 0;
}

enum class RowMode { Direct, Expand2To4, ComposeAlpha };

struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    // The stream libpng reads: the file's first `prefix` bytes, then `tail`. For a file cut short,
    // the cut chunk is shortened to what is there and an IEND follows, so libpng inflates every
    // byte that arrived instead of failing on the first read past the end.
    const uint8_t* data = nullptr;
    size_t prefix = 0, pos = 0;
    size_t lengthAt = SIZE_MAX;  // where the shortened chunk's length field is
    uint8_t length[4] = {0, 0, 0, 0};
    std::vector<uint8_t> tail;
    ImageBuffer img;
    RowMode mode = RowMode::Direct;
    std::vector<uint8_t>
        temp;  // one row, or every row of an interlaced picture that needs converting
    size_t tempRowBytes = 0;
    bool interlaced = false;
    bool anyRow = false;   // at least one row reached the picture
    int rowsDone = 0;      // rows completed in a non-interlaced picture
    SrgbTransform colour;  // for 24-bit rows; palette and grey pictures convert their table
    std::unique_ptr<BgrRowWriter> composer;  // rows with alpha
    DecodeResult result;
    char message[128] = {0};  // libpng's text
    bool cutShort = false;    // the data ended early: said in German
    ~PngJob() { png_destroy_read_struct(&png, &info, nullptr); }
};

void planStream(PngJob& job, const uint8_t* data, size_t size) {
    static const uint8_t kIend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    job.data = data;
    job.prefix = size;
    ByteReader in(data, size, ByteOrder::Big);
    in.seek(8);
    while (in.remaining() > 0) {
        const size_t at = in.position();
        if (in.remaining() < 12) {  // cut inside a chunk header, or trailing bytes
            job.prefix = at;
            job.tail.assign(kIend, kIend + 12);
            return;
        }
        const uint32_t len = in.u32();
        if (len > 0x7FFFFFFFu) return;  // libpng refuses it with its own message
        if (in.skip(len + size_t{8})) continue;
        // Cut inside the chunk's data: keep what arrived, with a matching length and CRC.
        const size_t have = size - at - 8;
        job.lengthAt = at;
        ByteWriter length(ByteOrder::Big);
        length.u32(static_cast<uint32_t>(have));
        std::memcpy(job.length, length.data().data(), 4);
        uLong crc = crc32(0L, data + at + 4, static_cast<uInt>(4));
        crc = crc32(crc, data + at + 8, static_cast<uInt>(have));
        ByteWriter tail(ByteOrder::Big);
        tail.u32(static_cast<uint32_t>(crc)).bytes(kIend, sizeof kIend);
        job.tail = tail.take();
        return;
    }
}

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    const size_t total = job->prefix + job->tail.size();
    if (length > total - job->pos) {
        job->cutShort = true;
        png_error(png, "data ends early");
    }
    size_t p = job->pos;
    const size_t end = p + length;
    if (p < job->prefix) {
        const size_t n = std::min(end, job->prefix) - p;
        std::memcpy(out, job->data + p, n);
        for (size_t k = 0; k < 4 && job->lengthAt != SIZE_MAX; ++k) {
            const size_t q = job->lengthAt + k;
            if (q >= p && q < p + n) out[q - p] = job->length[k];
        }
        out += n;
        p += n;
    }
    if (p < end) std::memcpy(out, job->tail.data() + (p - job->prefix), end - p);
    job->pos = end;
}

void onError(png_structp png, png_const_charp text) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", text ? text : "");
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void expand2To4(const uint8_t* in, int width, uint8_t* out) {
    for (int i = 0, n = (width + 3) / 4; i < n; ++i) {
        const uint8_t b = in[i];
        out[2 * i] = static_cast<uint8_t>(((b >> 6) & 3) << 4 | ((b >> 4) & 3));
        out[2 * i + 1] = static_cast<uint8_t>(((b >> 2) & 3) << 4 | (b & 3));
    }
}

void convertRow(const PngJob& job, const uint8_t* in, int y) {
    uint8_t* out = job.img.rowFromTop(y);
    if (job.mode == RowMode::Expand2To4)
        expand2To4(in, job.img.width(), out);
    else
        job.composer->write(in, job.img.width(), out);
}

// The ICC profile (iCCP) as a conversion for pixels of `layout`. An sRGB chunk says the picture
// is sRGB whatever else the file carries.
SrgbTransform colourOf(png_structp png, png_infop info, PixelLayout layout) {
    if (png_get_valid(png, info, PNG_INFO_sRGB)) return SrgbTransform();
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (!png_get_iCCP(png, info, &name, &compression, &profile, &length)) return SrgbTransform();
    return SrgbTransform::fromIcc(profile, length, layout);
}

// What the header says, and the depth the picture gets.
struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    bool hasTrns = false;
    bool palette = false;
    bool greyLow = false;  // grey of 1, 2, 4 or 8 bits: kept as a palette picture
    bool grey16 = false;   // 16-bit grey without transparency: 8-bit grey
    int outBits = 24;
};

PngHeader readHeader(png_structp png, png_infop info) {
    PngHeader h;
    png_read_info(png, info);
    png_get_IHDR(png, info, &h.width, &h.height, &h.depth, &h.colorType, &h.interlace, nullptr,
                 nullptr);
    h.hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    h.palette = h.colorType == PNG_COLOR_TYPE_PALETTE;
    h.greyLow = h.colorType == PNG_COLOR_TYPE_GRAY && h.depth <= 8;
    h.grey16 = h.colorType == PNG_COLOR_TYPE_GRAY && h.depth == 16 && !h.hasTrns;
    if (h.palette || h.greyLow)
        h.outBits = h.depth == 2 ? 4 : h.depth;
    else if (h.grey16)
        h.outBits = 8;
    return h;
}

// The colour table of a palette or grey picture, transparency composed over white. False when a
// palette picture has no palette.
bool buildTable(png_structp png, png_infop info, const PngHeader& h, BitmapInfo& table) {
    if (h.palette) {
        png_colorp plte = nullptr;
        int count = 0;
        if (!png_get_PLTE(png, info, &plte, &count)) return false;
        png_bytep alpha = nullptr;
        int alphaCount = 0;
        if (h.hasTrns) png_get_tRNS(png, info, &alpha, &alphaCount, nullptr);
        count = std::min(count, 256);
        for (int i = 0; i < count; ++i)
            table.colors[i] = RgbQuad{plte[i].blue, plte[i].green, plte[i].red, 0};
        // The profile describes the stored colours; transparency is laid over white after.
        convertColourTable(colourOf(png, info, PixelLayout::Rgb), table.colors, count);
        for (int i = 0; i < count; ++i) {
            const unsigned a = alpha && i < alphaCount ? alpha[i] : 255,
                           back = 255 * (255 - a) + 127;
            RgbQuad& q = table.colors[i];
            q = RgbQuad{static_cast<uint8_t>((q.blue * a + back) / 255),
                        static_cast<uint8_t>((q.green * a + back) / 255),
                        static_cast<uint8_t>((q.red * a + back) / 255), 0};
        }
    } else if (h.greyLow) {
        const int levels = 1 << h.depth;
        for (int i = 0; i < levels; ++i) {
            const auto v = static_cast<uint8_t>(i * 255 / (levels - 1));
            table.colors[i] = RgbQuad{v, v, v, 0};
        }
        convertColourTable(colourOf(png, info, PixelLayout::Grey), table.colors, levels);
        png_color_16p trans = nullptr;
        if (h.hasTrns && png_get_tRNS(png, info, nullptr, nullptr, &trans) && trans &&
            trans->gray < levels)
            table.colors[trans->gray] = RgbQuad{255, 255, 255, 0};
    } else if (h.grey16) {
        for (int i = 0; i < 256; ++i)
            table.colors[i] = RgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        convertColourTable(colourOf(png, info, PixelLayout::Grey), table.colors, 256);
    }
    return true;
}

// Asks libpng for rows of the picture's depth (or of 8-bit BGRA to compose) and says how they
// reach the picture.
RowMode setTransformations(PngJob& job, const PngHeader& h) {
    png_structp png = job.png;
    bool alpha = false;
    if (h.grey16) {
        png_set_scale_16(png);
    } else if (h.outBits == 24) {
        alpha = (h.colorType & PNG_COLOR_MASK_ALPHA) != 0 || h.hasTrns;
        png_set_expand(png);
        png_set_scale_16(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
    }
    job.interlaced = h.interlace != PNG_INTERLACE_NONE;
    if (job.interlaced) png_set_interlace_handling(png);
    png_read_update_info(png, job.info);
    return alpha                            ? RowMode::ComposeAlpha
           : h.depth == 2 && h.outBits == 4 ? RowMode::Expand2To4
                                            : RowMode::Direct;
}

// The buffer for rows that need converting: one row, or every row of an interlaced picture.
// libpng's row must be exactly what the mode expects, or a row would overrun its buffer.
bool prepareRowBuffer(PngJob& job, const PngHeader& h) {
    const size_t libpngRow = png_get_rowbytes(job.png, job.info);
    const size_t width = h.width;
    const size_t expected = job.mode == RowMode::ComposeAlpha ? width * 4
                            : job.mode == RowMode::Expand2To4 ? (width + 3) / 4
                                                              : (width * h.outBits + 7) / 8;
    if (libpngRow != expected) {
        job.result = decodeFailure(ImageError::Unsupported, "Zeilenlänge");
        return false;
    }
    if (job.mode == RowMode::Direct) return true;
    job.tempRowBytes = libpngRow;
    const uint64_t rows = job.interlaced ? h.height : 1;
    if (libpngRow * rows > kMaxImageBytes * 2) {
        job.result = decodeFailure(ImageError::TooLarge);
        return false;
    }
    job.temp.assign(libpngRow * rows, 0);
    return true;
}

// Sets the transformations, works out the depth and makes the picture. Returns false with the
// result filled when the header is refused.
bool prepare(PngJob& job) {
    const PngHeader h = readHeader(job.png, job.info);
    DibLayout layout;
    const SizeCheck sc = computeDibLayout(h.width, h.height, h.outBits, layout);
    if (sc != SizeCheck::Ok) {
        job.result =
            decodeFailure(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);
        return false;
    }
    BitmapInfo table;
    if (!buildTable(job.png, job.info, h, table)) {
        job.result = decodeFailure(ImageError::Damaged, "Palette fehlt");
        return false;
    }
    job.mode = setTransformations(job, h);
    if (!prepareRowBuffer(job, h)) return false;
    // libpng hands out 24-bit rows as blue, green, red (and alpha).
    if (h.outBits == 24) {
        const bool alpha = job.mode == RowMode::ComposeAlpha;
        job.colour = colourOf(job.png, job.info, alpha ? PixelLayout::Bgra : PixelLayout::Bgr);
        if (alpha)
            job.composer = std::make_unique<BgrRowWriter>(PixelLayout::Bgra, false, job.colour);
    }
    const bool indexed = h.outBits <= 8;
    if (!newdib(job.img, static_cast<int>(h.width), static_cast<int>(h.height), h.outBits,
                indexed ? &table : nullptr, indexed ? 1 << h.outBits : 0)) {
        job.result = decodeFailure(ImageError::OutOfMemory);
        return false;
    }
    if (job.interlaced && job.mode == RowMode::Expand2To4)
        std::fill(job.temp.begin(), job.temp.end(),
                  static_cast<uint8_t>((lightestTableIndex(job.img) & 3) * 0x55));
    job.result = decodedPicture(static_cast<int>(h.width), static_cast<int>(h.height), h.outBits);
    return true;
}

void readRows(PngJob& job) {
    const int height = job.img.height();
    if (!job.interlaced) {
        for (int y = 0; y < height; ++y) {
            if (job.mode == RowMode::Direct) {
                uint8_t* row = job.img.rowFromTop(y);
                png_read_row(job.png, row, nullptr);
                if (job.colour.converts()) job.colour.toBgr(row, row, job.img.width());
            } else {
                png_read_row(job.png, job.temp.data(), nullptr);
                convertRow(job, job.temp.data(), y);
            }
            job.anyRow = true;
            job.rowsDone = y + 1;
        }
        return;
    }
    // Later passes fill in between earlier ones, so rows not reached yet must already read white.
    if (job.mode == RowMode::Direct) {
        const uint8_t white = whiteFillByte(job.img);
        std::memset(job.img.bits, white, job.img.imageBytes());
    }
    const int passes = png_set_interlace_handling(job.png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y) {
            uint8_t* row = job.mode == RowMode::Direct ? job.img.rowFromTop(y)
                                                       : job.temp.data() + y * job.tempRowBytes;
            png_read_row(job.png, row, nullptr);
            job.anyRow = true;
        }
}

// After the rows were read, or as far as they were read: the converted interlaced picture gets
// its rows from the buffer. (Rows of a non-interlaced picture that never came are whitened by
// decodeWith.)
void finishRows(PngJob& job) {
    if (job.interlaced) {
        if (job.mode != RowMode::Direct)
            for (int y = 0; y < job.img.height(); ++y)
                convertRow(job, job.temp.data() + y * job.tempRowBytes, y);
        // An interlaced row is complete only after the last pass, so its colours are converted
        // in a pass of their own.
        else if (job.colour.converts())
            for (int y = 0; y < job.img.height(); ++y)
                job.colour.toBgr(job.img.rowFromTop(y), job.img.rowFromTop(y), job.img.width());
        return;
    }
}

// The only frame that calls setjmp; everything libpng's longjmp may interrupt lives in `job`,
// which is not a local of this function. Returns false when libpng gave up.
bool guardedRead(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    if (prepare(job)) readRows(job);
    return true;
}

DecodeResult decodePng(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    if (!sniffPng(data, size)) return decodeFailure(ImageError::UnknownFormat);
    PngJob job;
    planStream(job, data, size);
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onError, onWarning);
    if (!job.png) return decodeFailure(ImageError::OutOfMemory);
    job.info = png_create_info_struct(job.png);
    if (!job.info) return decodeFailure(ImageError::OutOfMemory);
    png_set_read_fn(job.png, &job, readFromMemory);
    png_set_user_limits(job.png, static_cast<png_uint_32>(kMaxImageSide),
                        static_cast<png_uint_32>(kMaxImageSide));
    png_set_benign_errors(job.png, 1);

    if (!guardedRead(job)) {
        // Nothing decodable (the header itself or the first row is broken) is a damaged file;
        // otherwise the rows read so far are the picture.
        if (!job.img.valid() || !job.anyRow) {
            if (job.cutShort) return decodeFailure(ImageError::Damaged, "Datei zu kurz");
            logLibraryMessage("libpng", job.message);
            return decodeFailure(ImageError::Damaged);
        }
    } else if (!job.result.ok()) {
        return job.result;
    }
    finishRows(job);
    out = std::move(job.img);
    // Interlaced passes spread over every row, which were white before the first.
    if (!job.interlaced) job.result.rowsDecoded = job.rowsDone;
    return job.result;
}

// The header chunk comes first in every PNG; deflate packs at most 1032 bytes into one, which
// bounds the rows (each with its filter byte) that the file's bytes can hold.
DecodeResult headerPng(const uint8_t* data, size_t size, PictureHeader& out) {
    if (!sniffPng(data, size)) return decodeFailure(ImageError::UnknownFormat);
    ByteReader in(data, size, ByteOrder::Big);
    in.seek(8);
    const uint32_t length = in.u32();
    uint8_t type[4] = {0, 0, 0, 0};
    in.bytes(type, 4);
    const uint32_t width = in.u32(), height = in.u32();
    const int depth = in.u8(), colorType = in.u8();
    in.seek(8 + 8 + 13);
    const uint32_t crc = in.u32();
    if (!in.ok() || length != 13 || std::memcmp(type, "IHDR", 4) != 0 ||
        crc != crc32(0L, data + 12, 4 + 13))
        return decodeFailure(ImageError::Damaged, "PNG-Kopf");
    int channels = 1;
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            channels = 2;
            break;
        case PNG_COLOR_TYPE_RGB:
            channels = 3;
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            channels = 4;
            break;
        default:
            return decodeFailure(ImageError::Damaged, "PNG-Farbtyp");
    }
    // The depth as prepare() will choose it; grey of 16 bits is 8 unless transparency makes it 24,
    // which the caps treat alike.
    const bool indexed =
        colorType == PNG_COLOR_TYPE_PALETTE || (colorType == PNG_COLOR_TYPE_GRAY && depth <= 8);
    const int bits = indexed                                           ? (depth == 2 ? 4 : depth)
                     : colorType == PNG_COLOR_TYPE_GRAY && depth == 16 ? 8
                                                                       : 24;
    const uint64_t rowBytes = 1 + (uint64_t{width} * channels * depth + 7) / 8;
    return announcedPicture(out, width, height, bits, rowsAtDensity(size, 1032, rowBytes, height));
}

}  // namespace

const Codec& pngCodec() {
    static const Codec codec{"png", sniffPng, headerPng, decodePng};
    return codec;
}

}  // namespace pr
