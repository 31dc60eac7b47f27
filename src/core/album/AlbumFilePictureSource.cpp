// The picture source production code hands to the album reader: the raster library reading each
// file once. Kept apart so the reader itself can be tested with doubles.
#include "core/album/AlbumFileApply.h"
#include "core/imaging/PictureSource.h"

namespace pr {

AlbumPictureSource albumPictureSourceOfRasterLibrary(bool judgeData) {
    AlbumPictureSource source;
    source.inspect = [judgeData](const std::string& path, PictureSourcePtr& out,
                                 std::string& reason) {
        PictureInspection inspected = inspectPictureFile(path, judgeData);
        out = std::move(inspected.source);
        reason = std::move(inspected.message);
        return inspected.ok;
    };
    return source;
}

}  // namespace pr
