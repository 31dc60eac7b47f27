#pragma once
// The size of a thumbnail: the picture scaled, keeping its aspect ratio, so that its longer side
// is 80 pixels. Integer division truncates, as everywhere in the browser.

#include <optional>

namespace pr {

constexpr int kThumbnailSide = 80;

struct ThumbnailSize {
    int width = 0;
    int height = 0;
};

// Width 80 and height h x 80 div w; when that height exceeds 80, height 80 and width w x 80 div h.
// No thumbnail for a picture with a side below 2 pixels, nor for one so flat or narrow that a side
// computes to 0: handing the scaler a 0-pixel side would only make an empty picture.
std::optional<ThumbnailSize> thumbnailSizeFor(int pictureWidth, int pictureHeight);

}  // namespace pr
