#pragma once
// Which directory entries the thumbnail browser shows: those whose extension is one that the
// raster library reads. The extension is compared after UpperText, so ".JpG" and ".Heic" count;
// ".jpeg" and ".tiff" do not (the old formats are listed by their three-letter extensions only).

#include <string>

namespace pr {

// The format code (3..18, RasterLibrary.h) for the file name's extension, or 0 when the
// extension, or the lack of one, is not in the table.
int formatCodeForFileName(const std::string& name);

}  // namespace pr
