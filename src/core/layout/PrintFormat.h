#pragma once
// Exact print sizes for a placement: the usual photo formats, a frame set to one of them, and a
// page filled with copies of a frame in rows. All sizes are inches unless the name says mm.

#include <string>
#include <vector>

namespace pr {

struct PrintFormat {
    const char* label;  // as the menu shows it
    double shortMm;     // the two sides; the frame takes the picture's orientation
    double longMm;
};

// 9 x 13, 10 x 15, 13 x 18, 15 x 20 and 20 x 30 cm, and the passport picture 3.5 x 4.5 cm.
const std::vector<PrintFormat>& printFormats();

struct FrameRect {
    double left = 0, top = 0, width = 0, height = 0;
};

// The frame of a format in the picture's orientation: the long side across for a landscape
// picture (wider than high), down for a portrait or square one.
FrameRect formatFrame(const PrintFormat& format, bool landscapePicture);

// `frame` with the new width and height, keeping its top-left corner; a frame that would then
// run over the right or bottom edge of the printable page is moved back so it ends there, but
// not beyond the left or top edge (a frame larger than the page starts at the edge).
FrameRect resizedOnPage(const FrameRect& frame, double width, double height, double pageWidth,
                        double pageHeight);

// Where copies of a frame of width x height go to fill a page: cells in rows from the top-left
// corner of the area inside the margin, `spacingMm` apart, as many as fit inside the margin,
// leaving out every cell that overlaps one of `occupied` (frames already on the page; touching
// is not overlapping). Row by row, left to right. At most `limit` positions.
std::vector<FrameRect> fillPagePositions(double width, double height, double pageWidth,
                                         double pageHeight, double marginMm, double spacingMm,
                                         const std::vector<FrameRect>& occupied,
                                         size_t limit = 10000);

}  // namespace pr
