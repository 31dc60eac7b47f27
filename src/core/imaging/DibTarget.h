#pragma once
// DibTarget: what DrawDib needs of the device it draws on. The Qt side implements it over a
// QPainter on a widget, a QImage or a QPrinter/QPdfWriter; the tests implement it with a recording
// double. Everything here is called on the thread that paints, during one DrawDib call.
//
// Coordinates
//  - Destination rectangles and points are device pixels, x to the right, y downwards.
//  - Source rectangles count like device-independent bitmaps: x from the left edge, y in *stored*
//    rows from the bottom row of the picture (row 0 is the bottom row). A source rectangle
//    (x, y, w, h) therefore shows, as seen from the top, the rows
//    height - y - h .. height - y - 1; dibSourceTopSeen() computes the first of them.
//  - Source rectangles may reach up to a pixel past the picture (DrawDib rounds the size of a
//    reduced copy); whatever lies outside the picture is not drawn and must never be read.
//
// Pictures handed in (`ImageBuffer`) are 1, 4, 8 or 24 bits, bottom-up, rows padded to 4 bytes;
// 1/4/8-bit pictures are drawn through their colour table (`info->colors`, RGB values, not palette
// indexes). The target only reads them and must not keep them past the call: DrawDib may reuse or
// free the pixels as soon as the call returns.
//
// Palettes only matter on palette displays. A true-colour target may treat selectPalette as
// bookkeeping (remember and return the previous handle) and realizePalette as nothing.

#include <cstdint>
#include <memory>

#include "core/imaging/DeviceBitmap.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

// Raster operation that copies the source unchanged; the only one the program's callers pass.
constexpr uint32_t kSrcCopy = 0x00CC0020;
// Stretch mode that drops the rows and columns a reduction leaves out, with no blending
// (Qt: no SmoothPixmapTransform).
constexpr int kStretchColorOnColor = 3;
// Raster capability bit: the device takes device-independent bitmaps through setDIBitsToDevice.
constexpr uint32_t kRasterCapsDibToDevice = 0x200;

class DibTarget {
public:
    virtual ~DibTarget() = default;

    // True when the device is a raster printer (Windows: technology DT_RASPRINTER; Qt: the
    // painter's device is a QPrinter or QPdfWriter). Printers always get the picture through
    // stretchDIBits, so a PDF or printer receives it at its own resolution.
    virtual bool isPrinter() const = 0;

    // Bits per pixel of the *display* (QScreen::depth()), not of the device drawn on: the palette
    // path depends on the screen even while printing. Tests return 8 to exercise that path.
    virtual int displayBitsPerPixel() const = 0;

    // Raster capability bits; DrawDib asks only for kRasterCapsDibToDevice.
    virtual uint32_t rasterCaps() const = 0;

    // DrawDib sets kStretchColorOnColor before it draws and does not set it back.
    virtual void setStretchMode(int mode) = 0;

    // Selects `palette` into the device as foreground palette and returns the one selected
    // before. DrawDib selects only real palettes and later puts the returned one back with another
    // call; that one may be null, meaning the device's default palette.
    virtual PaletteHandle selectPalette(const PaletteHandle& palette) = 0;
    virtual void realizePalette() = 0;

    // Draws `source` of `image` scaled into `dest`, with the stretch mode set before and `rop`.
    // One call per picture: the Qt target hands both rectangles to the painter once, without
    // copying the pixels (a QImage that points at the rows). False when the device cannot do it;
    // DrawDib then tries the fallbacks.
    virtual bool stretchDIBits(const DibRect& dest, const DibRect& source, const ImageBuffer& image,
                               uint32_t rop) = 0;

    // Copies the whole of `rows` 1:1 (no scaling, plain copy) with its top row as seen at
    // device row y and its left column at x. DrawDib sends all rows of one drawing as one block
    // (only a destination of more than 64 MiB goes in several blocks, top to bottom); the Qt
    // target draws each block with one call. False when the device cannot do it.
    virtual bool setDIBitsToDevice(int x, int y, const ImageBuffer& rows) = 0;

    // The last fallback: a device-dependent bitmap of width x height compatible with the device,
    // or null when it cannot be made.
    virtual std::unique_ptr<DeviceBitmap> createCompatibleBitmap(int width, int height) = 0;
};

}  // namespace pr
