#pragma once
// Which directory entries the thumbnail browser shows: those whose extension is one of the twelve
// that the raster library reads. The extension is compared after UpperText, so ".JpG" counts and
// ".jpeg" or ".tiff" do not (the table lists three-letter extensions only).

#include <string>

namespace pr {

// The format code (3..14, RasterLibrary.h) for the file name's extension, or 0 when the
// extension, or the lack of one, is not in the table.
int formatCodeForFileName(const std::string& name);

}  // namespace pr
