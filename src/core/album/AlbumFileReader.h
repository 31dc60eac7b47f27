#pragma once
// Reading an album file of version 4.0, 3.0 or 2.0 into an AlbumFileContent. Nothing here touches
// an Album: the caller swaps the content in (AlbumFileApply.h) only after the whole file was read,
// so a damaged file leaves the open album exactly as it was.
//
// What is checked (the file is untrusted): the 24-byte header; every count and length against the
// bytes that remain and against the caps of AlbumFileFormat.h before anything is allocated; no
// negative count or length; every coordinate and stored double finite. Any failure refuses the
// whole file. After the last picture entry of a 4.0 file the extension blocks are read as
// AlbumFileExtensions.h says; other bytes there are ignored, as they always were.
//
// What is normalised, so the album is consistent whatever the file says:
//  - stored strings that are not valid UTF-8 are read as Windows-1252;
//  - a path without folder part ('/', '\\' or drive colon) is taken to be in the album's folder;
//  - a rotation outside 0..3 becomes 0 (the picture is shown unturned, so 0 is what it is);
//  - a selected placement outside the placement list becomes -1;
//  - the next picture key is raised above every stored key, so a new picture never shares a key.
// Placements whose key names no picture are kept, so saving again keeps them; drawing and printing
// pass over them.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/album/AlbumFileFormat.h"
#include "core/album/AlbumSettings.h"

namespace pr {

// The printer selected now; old files keep positions in fractions of the page, and an old album
// adapts to the current paper. The horizontal resolution serves both axes.
struct OldPageGeometry {
    double pageWidthPixels = 0;
    double pageHeightPixels = 0;
    double pixelsPerInch = 0;  // not positive: old placements cannot be placed, the file is refused
};

enum class AlbumReadError { None, OpenFailed, NotAnAlbum, Damaged };

struct AlbumReadResult {
    AlbumReadError error = AlbumReadError::None;
    std::string message;  // German, empty on success
    AlbumFileContent content;
    bool ok() const { return error == AlbumReadError::None; }
};

// `current` gives the settings an old file does not store (they keep their values). The bytes are
// the whole file: a block that runs past their end refuses it.
AlbumReadResult parseAlbumFile(const uint8_t* data, std::size_t size, const std::string& albumPath,
                               const AlbumSettings& current, const OldPageGeometry& page);

// The same for the file at albumPath (at most kMaxAlbumFileBytes are read).
AlbumReadResult readAlbumFile(const std::string& albumPath, const AlbumSettings& current,
                              const OldPageGeometry& page);

}  // namespace pr
