// The picture source production code hands to the album reader: the raster library's own loader
// and quarter turns. Kept apart so the reader itself can be tested with doubles.
#include "core/album/AlbumFileApply.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/Rotate.h"

namespace pr {

AlbumPictureSource albumPictureSourceOfRasterLibrary() {
    AlbumPictureSource source;
    source.load = [](const std::string& path, ImageBuffer& out) {
        return OpenDib(out, path, kFormatAuto);
    };
    source.turnRight = [](ImageBuffer& image) { return RotRight(image); };
    source.turnLeft = [](ImageBuffer& image) { return RotLeft(image); };
    return source;
}

}  // namespace pr
