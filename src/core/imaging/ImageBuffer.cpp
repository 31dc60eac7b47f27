#include "core/imaging/ImageBuffer.h"

#include <cstdint>
#include <cstring>

#include "core/imaging/DibSize.h"
#include "core/imaging/ImageError.h"
#include "core/imaging/PixelPool.h"

namespace pr {

// One record for header and colour table; the pixel rows come from the pixel pool, which hands
// out zeroed memory (fresh mappings, or blocks of pictures that were let go, cleared again), so a
// decoder that writes every row costs no page faults when pictures come and go.
struct DibStorage {
    BitmapInfo info;
    std::shared_ptr<PixelBlock> block;

    bool allocate(uint64_t bytes) {
        if (bytes > SIZE_MAX) return false;
        block = PixelPool::shared().take(static_cast<size_t>(bytes), true);
        return block != nullptr;
    }
    uint8_t* pixels() const { return block->data; }
};

uint64_t ImageBuffer::imageBytes() const {
    return info ? static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height()) : 0;
}

bool newdib(ImageBuffer& out, int width, int height, int bitCount, const BitmapInfo* colorsFrom,
            int colorCount) {
    deldib(out);
    DibLayout layout;
    const SizeCheck check = (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24)
                                ? computeDibLayout(width, height, bitCount, layout)
                                : SizeCheck::BadDimensions;
    if (check != SizeCheck::Ok) {
        out.message = imageErrorText(check == SizeCheck::TooLarge ? ImageError::TooLarge
                                                                  : ImageError::Damaged);
        return false;
    }
    auto storage = std::make_shared<DibStorage>();
    if (!storage->allocate(layout.imageBytes)) {
        out.message = imageErrorText(ImageError::OutOfMemory);
        return false;
    }
    BitmapInfoHeader& h = storage->info.header;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<uint16_t>(bitCount);
    h.biSizeImage = static_cast<uint32_t>(layout.imageBytes);
    const int table = bitCount <= 8 ? 1 << bitCount : 0;
    h.biClrUsed = static_cast<uint32_t>(table);
    if (colorsFrom && colorCount > 0 && table > 0) {
        const int n = colorCount < table ? colorCount : table;
        std::memcpy(storage->info.colors, colorsFrom->colors, sizeof(RgbQuad) * n);
    }
    out.info = &storage->info;
    out.bits = storage->pixels();
    out.rowBytes = layout.rowBytes;
    out.storage = std::move(storage);
    out.message.clear();
    syncPalette(out);
    return true;
}

void deldib(ImageBuffer& buffer) {
    buffer.storage.reset();
    buffer.info = nullptr;
    buffer.bits = nullptr;
    buffer.rowBytes = 0;
    buffer.hasPalette = false;
    buffer.palette = LogPalette{};
    buffer.paletteHandle.reset();
}

uint32_t getpixel(const ImageBuffer& b, int x, int y) {
    if (!b.valid() || x < 0 || y < 0 || x >= b.width() || y >= b.height()) return 0;
    const uint8_t* row = b.rowFromTop(y);
    switch (b.bitCount()) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4:
            return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4;
        case 8:
            return row[x];
        case 24: {
            const uint8_t* p = row + 3 * static_cast<int64_t>(x);
            return p[2] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[0]) << 16);
        }
        default:
            return 0;
    }
}

void setpixel(ImageBuffer& b, int x, int y, uint32_t value) {
    if (!b.valid() || x < 0 || y < 0 || x >= b.width() || y >= b.height()) return;
    uint8_t* row = b.rowFromTop(y);
    switch (b.bitCount()) {
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80u >> (x & 7));
            row[x >> 3] = (value & 1u) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
            break;
        }
        case 4: {
            uint8_t& byte = row[x >> 1];
            const uint8_t v = value & 0x0Fu;
            byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0u) | v)
                           : static_cast<uint8_t>((byte & 0x0Fu) | (v << 4));
            break;
        }
        case 8:
            row[x] = static_cast<uint8_t>(value);
            break;
        case 24: {
            uint8_t* p = row + 3 * static_cast<int64_t>(x);
            p[0] = static_cast<uint8_t>(value >> 16);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value);
            break;
        }
        default:
            break;
    }
}

void syncPalette(ImageBuffer& b) {
    const int n = b.tableSize();
    b.palette = LogPalette{};
    if (!b.valid() || n == 0) {
        b.hasPalette = false;
        b.paletteHandle.reset();
        return;
    }
    b.palette.numEntries = static_cast<uint16_t>(n);
    for (int i = 0; i < n; ++i) {
        const RgbQuad& q = b.info->colors[i];
        b.palette.entries[i] = PaletteEntry{q.red, q.green, q.blue, 0};
    }
    b.hasPalette = true;
    b.paletteHandle = std::make_shared<const LogPalette>(b.palette);
}

void setGreyTable(ImageBuffer& b) {
    const int n = b.tableSize();
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
        b.info->colors[i] = RgbQuad{v, v, v, 0};
    }
    syncPalette(b);
}

}  // namespace pr
