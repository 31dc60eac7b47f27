#pragma once
// Resampling a rectangle of a picture to the exact pixels of a destination.
//
// Each axis is resampled on its own. An axis that shrinks (or keeps its size) averages the source
// pixels that each destination pixel covers, weighted by how much of each it covers (an area
// filter: no pixel is skipped, so fine detail turns into its average instead of into noise). An
// axis that grows interpolates bilinearly at the positions the quality enhancement samples
// (Resize.h: 10-bit steps from the rectangle's start), so an enlarged picture looks on paper as one
// raised to the minimum quality; the two weights add up to one and results are rounded, so flat
// colours stay exactly as they are (the enhancement's own weights, 1023 - f and f, take white to
// 253). A rectangle of exactly the destination's size at whole-pixel offsets is copied unchanged.
//
// Any depth is read: palette pictures through their colour table. The result is true colour.
// Fixed-point weights of 14 bits; an average is within one step of the exact one.

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Rendition.h"

namespace pr {

// A rectangle of a picture in its own pixels, from the top-left corner as seen; fractions allowed.
// Parts outside the picture repeat its edge pixels.
struct SourceRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// The part of a destination of destWidth x destHeight pixels that is made (a whole destination
// is {0, 0, destWidth, destHeight}).
struct DestWindow {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// `window` of the destination that shows `source` of `picture` at destWidth x destHeight, as a
// rendition of the window's size. False (out left empty) for an empty picture or rectangle, a
// window outside the destination, or no memory.
bool resampleToRendition(const ImageBuffer& picture, const SourceRect& source, int destWidth,
                         int destHeight, const DestWindow& window, Rendition& out);

// The whole destination as a 24-bit picture (previous content of `out` released).
bool resampleToImage(const ImageBuffer& picture, const SourceRect& source, int destWidth,
                     int destHeight, ImageBuffer& out);

}  // namespace pr
