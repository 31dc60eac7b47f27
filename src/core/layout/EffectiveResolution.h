#pragma once
// The resolution a print of a picture gets: how many of the picture's own pixels fall on an inch
// of its frame. A print shop judges a print by this number, not by the pixels the program may
// have added while enlarging, so callers pass the picture's size as its file holds it (turned by
// its quarter turns), never the size of an enlarged copy.

namespace pr {

// Dots per inch of a picture of pictureWidth x pictureHeight pixels in a frame of frameWidth x
// frameHeight inches, drawn by the frame-fitting rule (FitPictureToFrame.h): stretched when
// keepAspect is off, fitted whole when fitCrop is off, else filling the frame with the overflow
// cut off. Each axis gives the pixels shown along it over the inches they cover; the smaller of
// the two is the print's resolution. 0 when the picture or the frame has no area.
double effectiveDpi(int pictureWidth, int pictureHeight, double frameWidth, double frameHeight,
                    bool fitCrop, bool keepAspect);

// Whether a print of `dpi` is too coarse for the layout tab's minimum quality; a value of 0 (no
// area, nothing printed) never is.
bool belowMinimumQuality(double dpi, double minimumDpi);

// The whole dots per inch a user is shown: truncated, so a print that just misses the minimum is
// never shown as reaching it.
int wholeDpi(double dpi);

}  // namespace pr
