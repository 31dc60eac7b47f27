#pragma once
// QPainterDibTarget: DrawDib's device on the Qt side, over a QPainter that paints on a widget, a
// QImage, a QPrinter or a QPdfWriter. Every Qt caller draws pictures through drawDib() below.
//
// Pictures are never copied to stretch them: the stored rows are wrapped in a QImage that points
// at them. Qt has no bottom-up images and refuses a negative bytes-per-line, so the wrapper holds
// the stored rows in stored order, which is the picture upside down, and is drawn through a
// painter transform that mirrors it vertically. That is one drawImage with both rectangles, so a
// printer or a PDF receives the clipped source at its own resolution, not a screen-sized copy.
//
// A block of rows (the row paths build it at destination size for this one call) goes to the
// device as one upright copy made by QImage::mirrored() and a plain blit: on the raster engine
// that measured about twice as fast as the mirroring transform, which samples pixel by pixel
// (bench/bench_drawing.cpp, BM_BlockMirroredCopy against BM_BlockMirrorTransform).
//
// Qt has no 4-bit format: a 4-bit picture (only ever drawn on the direct path) is widened to
// 8 bits for the rows of the source rectangle alone.
//
// Palettes: Qt draws through each picture's colour table on any device, so selectPalette is only
// bookkeeping and realizePalette does nothing. Raster operations other than a plain copy do not
// occur in the program's callers; the target draws every picture as a copy.

#include <QPainter>

#include "core/imaging/DibTarget.h"
#include "core/imaging/DrawDib.h"

namespace pr {

class QPainterDibTarget : public DibTarget {
public:
    // `displayBitsPerPixel` 0 takes the primary screen's depth; tests pass 8 for the palette path.
    // The painter must be active and outlive the target.
    explicit QPainterDibTarget(QPainter& painter, int displayBitsPerPixel = 0);

    bool isPrinter() const override;
    int displayBitsPerPixel() const override;
    uint32_t rasterCaps() const override;
    void setStretchMode(int mode) override;
    PaletteHandle selectPalette(const PaletteHandle& palette) override;
    void realizePalette() override {}
    bool stretchDIBits(const DibRect& dest, const DibRect& source, const ImageBuffer& image,
                       uint32_t rop) override;
    bool setDIBitsToDevice(int x, int y, const ImageBuffer& rows) override;
    std::unique_ptr<DeviceBitmap> createCompatibleBitmap(int width, int height) override;
    // The rendition's own QImage (RenditionImage.h), drawn unscaled: no copy, no conversion.
    bool drawRendition(int x, int y, const Rendition& rendition) override;

    // True for painters on a QPrinter or a QPdfWriter.
    static bool paintsOnPrinter(const QPainter& painter);
    // The primary screen's depth, 24 without a screen.
    static int screenDepth();

private:
    QPainter& painter_;
    int displayBits_;
    PaletteHandle selected_;
};

// A rendition at (x, y) through DrawRendition over a QPainterDibTarget.
void drawRendition(QPainter& painter, int x, int y, const Rendition& rendition, bool halftone,
                   const DrawMessageFn& messages = {}, int displayBitsPerPixel = 0);

// The one way Qt code draws a picture: DrawDib over a QPainterDibTarget with a plain copy.
// Arguments as DrawDib (source in stored coordinates, srcTop from the bottom row).
void drawDib(QPainter& painter, int destX, int destY, int destWidth, int destHeight,
             const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight,
             bool halftone, bool useBufferPalette = false, const PaletteHandle& palette = {},
             const DrawMessageFn& messages = {}, int displayBitsPerPixel = 0);

}  // namespace pr
