#pragma once
// Resize: a resampled copy of a picture, used to raise a picture to the minimum print quality and
// to make thumbnails. The source is never changed.
//
// Sampling: with stepX = width * 1024 div newW (10 fraction bits), result column x takes source
// column (x * stepX) >> 10, and likewise for rows. 4-, 8- and 24-bit pictures count rows from the
// bottom stored row, 1-bit pictures from the top row as seen; the two differ by where the dropped
// or repeated rows fall, and both are kept so that pictures come out as they always have. 24-bit
// enlargement with `smooth` interpolates bilinearly with the weights 1023 - f and f, so pure white
// comes out as 253 (the horizontal and the vertical pass each lose one step); everything else is
// nearest neighbour. Palette pictures keep their colour table.
//
// Big pictures are split over the processor's cores; the result is the same pixel for pixel.

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"

namespace pr {

// Makes `result` (any previous content released; it may be the source itself) newW x newH with
// the source's bit count. Returns false and leaves `result` empty when a size is 0 or negative,
// the source is empty, or the result is beyond the limits or memory. Progress: 0 first, then y *
// 100 div (newH - 1) before result rows (one-row results report 0), and 0 at the end.
bool Resize(const ImageBuffer& source, int newW, int newH, bool smooth, ImageBuffer& result,
            const ProgressFn& progress = {});

}  // namespace pr
