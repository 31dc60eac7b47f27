// GIF reader over giflib 5, record by record so that nothing beyond the first image is read.
//
// What it gives: the first image of the file as an 8-bit picture of the size of the logical screen,
// the screen filled with its background colour and the first frame placed at its offset, which is
// what viewers show. A first frame that does not fit on the screen (writers that leave the screen
// at 0 x 0, or forged offsets) is shown alone at its own size instead, so a tiny file cannot ask
// for a huge, mostly empty canvas. The colour table is the frame's local table, else the global
// one, else a grey ramp. The transparent index is not special: it shows the colour its entry holds.
//
// What it checks: screen and frame size against Limits.h (through newdib) before allocating; every
// row giflib hands back lands inside the frame, which lies inside the canvas. Pixel indexes beyond
// the colour table are harmless, since the table always has 256 entries.
//
// Damaged data: a broken screen or image descriptor, or no image at all, is an error. When the
// descriptors were sound but the pixel data breaks off, the rows decoded so far are kept and the
// rest of the frame is white; when not even the first row decodes, the file counts as damaged.

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {
namespace {

struct GifSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    if (wanted <= 0) return 0;
    const size_t n = std::min(static_cast<size_t>(wanted), src->size - src->pos);
    std::memcpy(buffer, src->data + src->pos, n);
    src->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The colour table being built: the first `used` entries are taken.
struct Table {
    BitmapInfo info;
    int used = 0;

    void take(const ColorMapObject* map) {
        used = std::min(map->ColorCount, 256);
        for (int i = 0; i < used; ++i)
            info.colors[i] =
                RgbQuad{map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0};
    }
    void greyRamp() {
        used = 256;
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            info.colors[i] = RgbQuad{v, v, v, 0};
        }
    }
    // An index that shows the colour: an existing entry, a new one in a free slot, or the nearest.
    uint8_t indexOf(uint8_t r, uint8_t g, uint8_t b) {
        for (int i = 0; i < used; ++i) {
            const RgbQuad& q = info.colors[i];
            if (q.red == r && q.green == g && q.blue == b) return static_cast<uint8_t>(i);
        }
        if (used < 256) {
            info.colors[used] = RgbQuad{b, g, r, 0};
            return static_cast<uint8_t>(used++);
        }
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < used; ++i) {
            const RgbQuad& q = info.colors[i];
            const long dr = q.red - r, dg = q.green - g, db = q.blue - b;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        return static_cast<uint8_t>(best);
    }
};

bool sniffGif(const uint8_t* data, size_t size) {
    return size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

// Skips extension blocks until the first image descriptor has been read. False when the file ends
// or breaks before one.
bool readToFirstImage(GifFileType* gif) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
        if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) != GIF_ERROR;
        if (type != EXTENSION_RECORD_TYPE) return false;  // trailer or garbage: no image
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
        while (block) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
        }
    }
}

// The index for rows that never arrived. Writers pad tables to a power of two, so a full table
// rarely means every entry is in use: an entry no decoded pixel shows can become white.
uint8_t whiteIndex(ImageBuffer& out, Table& table, uint8_t background, int64_t offsetX,
                   int64_t offsetY, int64_t fw, const std::vector<bool>& rowDone) {
    if (table.used < 256) {
        const uint8_t i = table.indexOf(255, 255, 255);
        out.info->colors[i] = table.info.colors[i];
        syncPalette(out);
        return i;
    }
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& q = out.info->colors[i];
        if (q.red == 255 && q.green == 255 && q.blue == 255) return static_cast<uint8_t>(i);
    }
    bool shown[256] = {};
    shown[background] = true;
    for (size_t y = 0; y < rowDone.size(); ++y) {
        if (!rowDone[y]) continue;
        const uint8_t* row =
            out.rowFromTop(static_cast<int>(offsetY + static_cast<int64_t>(y))) + offsetX;
        for (int64_t x = 0; x < fw; ++x) shown[row[x]] = true;
    }
    for (int i = 255; i >= 0; --i)
        if (!shown[i]) {
            out.info->colors[i] = RgbQuad{255, 255, 255, 0};
            syncPalette(out);
            return static_cast<uint8_t>(i);
        }
    return table.indexOf(255, 255, 255);  // every entry in use: the nearest to white
}

// The canvas colour: the screen's background colour from the global table when it has one,
// otherwise white, as an index of the frame's table.
uint8_t backgroundIndex(const GifFileType& gif, const ColorMapObject* map, Table& table) {
    const ColorMapObject* global = gif.SColorMap;
    if (!global || gif.SBackGroundColor < 0 || gif.SBackGroundColor >= global->ColorCount)
        return table.indexOf(255, 255, 255);
    if (map == global) return static_cast<uint8_t>(gif.SBackGroundColor);
    const GifColorType& c = global->Colors[gif.SBackGroundColor];
    return table.indexOf(c.Red, c.Green, c.Blue);
}

// The frame's rows at (offsetX, offsetY) of the canvas; `rowDone` marks the frame rows that
// arrived. False when the data broke off. Interlaced frames deliver rows in four passes: every
// 8th from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
bool readFrameRows(GifFileType* gif, ImageBuffer& out, int64_t offsetX, int64_t offsetY,
                   std::vector<bool>& rowDone) {
    static const int passStart[4] = {0, 4, 2, 1};
    static const int passStep[4] = {8, 8, 4, 2};
    const GifImageDesc& frame = gif->Image;
    const int64_t fh = frame.Height;
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.Interlace ? passStart[pass] : 0;
        const int step = frame.Interlace ? passStep[pass] : 1;
        for (int64_t y = start; y < fh; y += step) {
            uint8_t* row = out.rowFromTop(static_cast<int>(offsetY + y)) + offsetX;
            if (DGifGetLine(gif, row, frame.Width) == GIF_ERROR) return false;
            rowDone[static_cast<size_t>(y)] = true;
        }
    }
    return true;
}

// The canvas the first frame is shown on, and where the frame lies on it.
struct Canvas {
    int64_t width = 0, height = 0, offsetX = 0, offsetY = 0;
};

using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// Opens the file and reads up to the first frame's descriptor.
DecodeResult openFirstFrame(GifSource& source, GifHandle& gif, Canvas& canvas) {
    if (!sniffGif(source.data, source.size)) return decodeFailure(ImageError::UnknownFormat);
    int openError = 0;
    gif.reset(DGifOpen(&source, readFromMemory, &openError));
    if (!gif) return decodeFailure(ImageError::Damaged, "GIF-Kopf");
    if (!readToFirstImage(gif.get()))
        return decodeFailure(ImageError::Damaged, "kein Bild in der GIF-Datei");
    const GifImageDesc& frame = gif->Image;
    const int64_t left = frame.Left, top = frame.Top, fw = frame.Width, fh = frame.Height;
    canvas = Canvas{gif->SWidth, gif->SHeight, left, top};
    const bool fits =
        left >= 0 && top >= 0 && left + fw <= canvas.width && top + fh <= canvas.height;
    if (!fits) canvas = Canvas{fw, fh, 0, 0};
    if (canvas.width <= 0 || canvas.height <= 0)
        return decodeFailure(ImageError::Damaged, "GIF ohne Bildfläche");
    return DecodeResult{};
}

// An LZW code of at most 12 bits stands for at most 4096 pixels, so a byte of the file holds at
// most 2731 of them; a canvas far larger than that, even mostly background, is a stub.
DecodeResult headerGif(const uint8_t* data, size_t size, PictureHeader& out) {
    GifSource source{data, size, 0};
    GifHandle gif;
    Canvas canvas;
    const DecodeResult r = openFirstFrame(source, gif, canvas);
    if (!r.ok()) return r;
    return announcedPicture(out, canvas.width, canvas.height, 8,
                            rowsAtDensity(size, 2731, static_cast<uint64_t>(canvas.width),
                                          static_cast<uint64_t>(canvas.height)));
}

DecodeResult decodeGif(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    deldib(out);
    GifSource source{data, size, 0};
    GifHandle gif;
    Canvas canvas;
    const DecodeResult opened = openFirstFrame(source, gif, canvas);
    if (!opened.ok()) return opened;
    const GifImageDesc& frame = gif->Image;
    const int64_t fw = frame.Width, fh = frame.Height;
    const int64_t canvasW = canvas.width, canvasH = canvas.height;
    const int64_t offsetX = canvas.offsetX, offsetY = canvas.offsetY;

    Table table;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (map && map->ColorCount > 0 && map->Colors)
        table.take(map);
    else
        table.greyRamp();
    const uint8_t background = backgroundIndex(*gif, map, table);

    DibLayout layout;
    const SizeCheck check = computeDibLayout(canvasW, canvasH, 8, layout);
    if (check != SizeCheck::Ok)
        return decodeFailure(check == SizeCheck::TooLarge ? ImageError::TooLarge
                                                          : ImageError::Damaged);
    if (!newdib(out, static_cast<int>(canvasW), static_cast<int>(canvasH), 8, &table.info, 256))
        return decodeFailure(ImageError::OutOfMemory);
    // newdib hands back zeroed pixels, so index 0 needs no fill pass.
    const bool frameCoversCanvas = fw == canvasW && fh == canvasH;
    if (background != 0 && !frameCoversCanvas) std::memset(out.bits, background, out.imageBytes());

    std::vector<bool> rowDone(static_cast<size_t>(fh), false);
    const bool broken = !readFrameRows(gif.get(), out, offsetX, offsetY, rowDone);
    const bool anyRow = std::find(rowDone.begin(), rowDone.end(), true) != rowDone.end();
    if (broken && !anyRow) {
        // Nothing of the picture survived: a white page would only hide that the file is broken.
        deldib(out);
        return decodeFailure(ImageError::Damaged, "GIF-Bilddaten");
    }
    if (broken) {
        const uint8_t white = whiteIndex(out, table, background, offsetX, offsetY, fw, rowDone);
        for (int64_t y = 0; y < fh; ++y)
            if (!rowDone[static_cast<size_t>(y)])
                std::memset(out.rowFromTop(static_cast<int>(offsetY + y)) + offsetX, white,
                            static_cast<size_t>(fw));
    }
    return decodedPicture(static_cast<int>(canvasW), static_cast<int>(canvasH), 8);
}

}  // namespace

const Codec& gifCodec() {
    static const Codec codec{"gif", sniffGif, headerGif, decodeGif};
    return codec;
}

}  // namespace pr
