#pragma once
// Writing an album as a version 4.0 file (layout in AlbumFileFormat.h).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumFileFormat.h"
#include "core/album/AlbumSettings.h"

namespace pr {

// Whether two folder paths (each ending in a separator) name the same folder on disk.
using SameFolderFn = std::function<bool(const std::string&, const std::string&)>;
// The default: asks the file system (std::filesystem::equivalent); false when either is missing.
bool sameFolderOnDisk(const std::string& a, const std::string& b);

// The path as the file stores it. A picture in the album's own folder is stored by its bare name,
// so an album copied together with its pictures opens anywhere. Folders are compared after
// upper-casing a to z only (so "ä" and "Ä" differ). Folders that match only that way are treated as
// one when `sameFolder` confirms it: on a case-sensitive file system "/x/Fotos/" and "/x/FOTOS/"
// are two folders, and a bare name would make the album find the wrong picture or none.
std::string storedPicturePath(const std::string& fileName, const std::string& albumPath,
                              const SameFolderFn& sameFolder = sameFolderOnDisk);

// The album and the settings as the file will hold them.
AlbumFileContent albumFileContentOf(const Album& album, const AlbumSettings& settings);

// The bytes of a version 4.0 file (content.Version is ignored). Zoom, margin and spacing are
// stored truncated toward zero (NaN as 0, beyond int32 at its ends); a font name longer than 255
// bytes and a comment longer than kMaxAlbumStringBytes are cut at a character boundary, so every
// file written opens again. The pictures' adjustments follow the last picture entry in an
// extension block (AlbumFileExtensions.h); without any the file ends there as it always did.
std::vector<uint8_t> encodeAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                     const SameFolderFn& sameFolder = sameFolderOnDisk);

struct AlbumSaveResult {
    bool ok = false;
    std::string message;  // German, empty on success
};

// "Speichern": writes the album to `albumPath`, replacing an existing file only when every byte
// was written and flushed. On success album.AlbumFileName becomes albumPath; on failure the album
// and the old file are untouched.
AlbumSaveResult saveAlbumFile(const std::string& albumPath, Album& album,
                              const AlbumSettings& settings);

}  // namespace pr
