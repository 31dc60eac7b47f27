#pragma once
// Puts the rows of a TIFF picture, in the order the file stores them, into an ImageBuffer as the
// picture is meant to be seen. The orientation tag (1..8) says where the file's first row and first
// column belong; 5..8 swap width and height. Every depth goes through here, so a palette scan with
// an orientation tag comes out as upright as an RGB photo.

#include <cstdint>

#include "core/imaging/ImageBuffer.h"

namespace pr {

class TiffOrientedWriter {
public:
    // Size of the seen picture for a file picture of fileWidth x fileHeight.
    static void seenSize(int orientation, int64_t fileWidth, int64_t fileHeight, int64_t& width,
                         int64_t& height);

    // `out` must already have the seen size. Orientations outside 1..8 count as 1.
    TiffOrientedWriter(ImageBuffer& out, int orientation, int fileWidth, int fileHeight);

    // One file row of fileWidth palette indexes, one byte each (1-, 4- and 8-bit pictures).
    void putIndexRow(int fileRow, const uint8_t* indexes);
    // One file row of fileWidth pixels, blue, green, red (24-bit pictures).
    void putBgrRow(int fileRow, const uint8_t* bgr);

private:
    // Seen position of file column c in file row r.
    void seenAt(int c, int r, int& x, int& y) const;

    ImageBuffer& out_;
    int orientation_;
    int fileWidth_;
    int fileHeight_;
};

}  // namespace pr
