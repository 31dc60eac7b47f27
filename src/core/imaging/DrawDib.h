#pragma once
// DrawDib: the one routine that puts a picture on a screen or a printer. Every caller (preview
// box, strip, page, print preview, printing, viewer, thumbnail grid) draws through it, so a picture
// looks the same everywhere and the choice of method lives in one place.
//
// Which way it draws:
//  - 24-bit picture, display of at most 8 bits per pixel, halftone allowed: the picture is
//    halftoned to the fixed 256-colour palette (reduced first when drawn smaller) and stretched.
//    The display depth decides, not the device: page printing from such a machine halftones too.
//  - 24-bit picture on a screen: rows built by table look-up (DrawDibRows24).
//  - 8-bit picture on a screen: the same with palette indexes (DrawDibRows8).
//  - everything else, and always on printers: one stretchDIBits of the clipped source; when the
//    device refuses, a nearest-neighbour copy at destination size through setDIBitsToDevice, and
//    last a device-dependent bitmap and stretchBlt.
// Screens never let the device scale true-colour or 8-bit pictures: rows are built here.

#include <functional>
#include <string>

#include "core/imaging/DibTarget.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

// Receives the German text of a failure of the last fallback; the window shows it in a message
// box without caption. May be empty.
using DrawMessageFn = std::function<void(const std::string& text)>;

// Draws the source rectangle of `buffer` (stored coordinates: srcTop counts rows from the bottom
// row) scaled into the destination rectangle (device pixels). A source rectangle hanging over an
// edge of the picture draws only the part inside, at the same scale, in the matching part of the
// destination; sizes are rounded halves to even. Zero or negative sizes and an empty buffer draw
// nothing. When the buffer has a palette, the chosen one (the buffer's own when
// `useBufferPalette`, else `palette`; none when that is null) is selected and realised for the
// drawing and the previous palette put back at the very end. The pixels are never changed.
void DrawDib(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
             const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight,
             bool halftone, uint32_t rop, bool useBufferPalette, const PaletteHandle& palette,
             const DrawMessageFn& messages = {});

// Draws a rendition (already made at its destination's size) with its top-left pixel at (x, y).
// On a display of at most 8 bits per pixel with `halftone` it is halftoned like a 24-bit picture;
// otherwise the device takes it as it is (DibTarget::drawRendition), or, where it cannot, it goes
// through DrawDib as a 24-bit picture at its own size.
void DrawRendition(DibTarget& target, int x, int y, const Rendition& rendition, bool halftone,
                   const DrawMessageFn& messages = {});

// A rendition's pixels as a 24-bit picture (false when memory ran out).
bool renditionToImage(const Rendition& rendition, ImageBuffer& out);

// The row paths for 24-bit and 8-bit pictures, without clipping. Destination column i shows source
// column srcLeft + srcWidth * i / destWidth, destination row k the row
// (height - srcTop - srcHeight) + srcHeight * k / destHeight counted from the top (integer
// division). Columns outside the picture stay black, rows outside the picture are black. The rows
// go to the device as one block (see DibTarget::setDIBitsToDevice). The 8-bit block carries the
// picture's colour table. False when the block cannot be made or the device refuses it;
// a picture of another depth draws nothing and gives false.
bool DrawDibRows24(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
                   const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight);
bool DrawDibRows8(DibTarget& target, int destX, int destY, int destWidth, int destHeight,
                  const ImageBuffer& buffer, int srcLeft, int srcTop, int srcWidth, int srcHeight);

// Header fields of the picture (0 for an empty buffer).
int GetDibWidth(const ImageBuffer& buffer);
int GetDibHeight(const ImageBuffer& buffer);
int GetDibBitCount(const ImageBuffer& buffer);
// 2 raised to the bit count: 2, 16, 256 or 16777216.
int GetDibColorCount(const ImageBuffer& buffer);
// Bits per pixel of the display that `target` belongs to.
int GetDisplayBitsPerPixel(const DibTarget& target);

// The texts of the last fallback, as the user sees them.
extern const char* const kMsgBitmapNotCreated;
extern const char* const kMsgNoSetDibits;
extern const char* const kMsgNoStretchBlt;

}  // namespace pr
