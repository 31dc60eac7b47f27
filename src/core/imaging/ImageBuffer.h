#pragma once
// ImageBuffer: a device-independent bitmap of 1, 4, 8 or 24 bits per pixel.
//
// Layout: `info` points at a 40-byte BITMAPINFOHEADER (width; height, always positive; bit count;
// image size) followed by the colour table (2^bits RGBQUAD entries for 1/4/8 bits, none for 24).
// `bits` points at the pixel rows, bottom row first, each padded to 4 bytes (`rowBytes`).
// 24-bit pixels are stored blue, green, red; in 4-bit rows the high nibble is the even column.
//
// Ownership contract:
//  - Header, colour table and pixels live in one shared block (`storage`). Copying an ImageBuffer
//    copies the record and shares that block: a copy sees every change made to the pixels through
//    any other copy, and the block lives as long as any copy still holds it. No copy can dangle.
//  - deldib() lets go of the record's share and clears the record; the block is freed when the last
//    holder lets go. Image operations that change the size replace the record's block with a new
//    one; copies made before keep the old pixels alive until they are released or overwritten.
//  - `palette` (the logical palette) and `paletteHandle` (an immutable palette object made from it,
//    what a device selects) are per record; copies share the handle.
//  - After a failed OpenDib/newdib, `bits` is null and `message` holds a German text.
//  - All functions here run on one thread at a time per block; nothing is locked.

#include <cstdint>
#include <memory>
#include <string>

namespace pr {

struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};

struct BitmapInfo {
    BitmapInfoHeader header;
    RgbQuad colors[256];  // the first 2^bits entries are the colour table (none for 24 bits)
};

struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

struct LogPalette {
    uint16_t version = 0x300;
    uint16_t numEntries = 0;
    PaletteEntry entries[256];
};
static_assert(sizeof(LogPalette) == 1028, "LOGPALETTE with 256 entries is 1028 bytes");

using PaletteHandle = std::shared_ptr<const LogPalette>;

struct DibStorage;

struct ImageBuffer {
    BitmapInfo* info = nullptr;
    uint8_t* bits = nullptr;
    int32_t rowBytes = 0;
    bool hasPalette = false;
    LogPalette palette;
    std::string message;
    PaletteHandle paletteHandle;
    std::shared_ptr<DibStorage> storage;

    bool valid() const { return bits != nullptr && info != nullptr; }
    int width() const { return info ? info->header.biWidth : 0; }
    int height() const { return info ? info->header.biHeight : 0; }
    int bitCount() const { return info ? info->header.biBitCount : 0; }
    // Entries of the colour table: 2^bits for 1/4/8 bits, 0 for 24 bits.
    int tableSize() const { return bitCount() <= 8 && bitCount() > 0 ? 1 << bitCount() : 0; }
    uint64_t imageBytes() const;
    // Stored row r (0 = bottom row) and the row y counted from the top as seen.
    uint8_t* storedRow(int r) const { return bits + static_cast<int64_t>(r) * rowBytes; }
    uint8_t* rowFromTop(int y) const { return storedRow(height() - 1 - y); }
};

// Allocates a zeroed picture. `colorsFrom`/`colorCount` (may be null/0) give a colour table to
// copy; for 1/4/8 bits the rest of the table stays black. Returns false (bits null, message set)
// when the size is beyond the limits or memory runs out. Any previous content of `out` is released
// first.
bool newdib(ImageBuffer& out, int width, int height, int bitCount,
            const BitmapInfo* colorsFrom = nullptr, int colorCount = 0);

// Lets go of the record's share of the pixels and clears the record.
void deldib(ImageBuffer& buffer);

// Pixel access with x from the left and y from the top as seen. 1/4/8 bits: the palette index
// (4-bit setpixel keeps the low four bits, 1-bit the lowest bit). 24 bits: 0x00BBGGRR, so 0 is
// black and 0x00FFFFFF white. Coordinates outside the picture read 0 and write nothing.
uint32_t getpixel(const ImageBuffer& buffer, int x, int y);
void setpixel(ImageBuffer& buffer, int x, int y, uint32_t value);

// Rebuilds the logical palette and the palette handle from the colour table (call after changing
// the colour table). A 24-bit picture gets no palette.
void syncPalette(ImageBuffer& buffer);

// Fills an 8-bit-or-less colour table with a grey ramp (0 black .. last entry white).
void setGreyTable(ImageBuffer& buffer);

}  // namespace pr
