#pragma once
// Putting a read album file into the Album: every picture is loaded again from its file and turned
// by its stored quarter turns, then the album's pictures, placements and selection are replaced in
// one step. Loading goes through callbacks so tests need no decoder; production passes
// albumPictureSourceOfRasterLibrary() (OpenDib, RotRight, RotLeft).

#include <functional>
#include <string>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumFileFormat.h"
#include "core/album/AlbumFileReader.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

struct AlbumPictureSource {
    // Loads the picture at a path; false (or an image without pixels) when it cannot, with the
    // reason in out.message where there is one. Called from several threads at once when more
    // than one loader thread is asked for.
    std::function<bool(const std::string& path, ImageBuffer& out)> load;
    // A quarter turn clockwise / counter-clockwise in place; false leaves the picture as it was.
    std::function<bool(ImageBuffer&)> turnRight;
    std::function<bool(ImageBuffer&)> turnLeft;
};

// Called on the caller's thread while the pictures load, with the number loaded so far and the
// number in the album (see DecodeTick in PictureDecoding.h: it may run an event loop).
using AlbumLoadProgress = std::function<void(int done, int total)>;

// A picture of the album that could not be loaded: its stored path and, when the loader gave
// one, the German reason ("Das Bild ist zu groß.").
struct PictureLoadFailure {
    std::string path;
    std::string reason;
};

struct AlbumApplyResult {
    bool ok = false;  // false only when memory ran out; the album is then empty and untitled
    // German texts in album order, one per picture that could not be loaded; show each.
    std::vector<std::string> messages;
    // The same pictures with their paths and reasons, for reports that have room for them.
    std::vector<PictureLoadFailure> failures;
    // Version 4.0 albums raise their pictures to the minimum quality once loaded (Checkallquals);
    // older files skip that.
    bool runQualityCheck = false;
    // Placements whose key names no picture. They stay, so saving again keeps them; drawing and
    // printing pass over them.
    int orphanPlacements = 0;
};

// Loads and turns every picture, then replaces the album's pictures, placements, selection and
// NextPictureKey and sets AlbumFileName. AlbumLoading is true meanwhile and false afterwards.
//  - A picture is turned right once for 1, twice for 2, left once for 3. When a turn fails its
//    Rotation counts the turns made, so it always says how the picture differs from the file.
//  - A picture that does not load at its path is looked for by file name in the album's folder
//    (albums moved together with their pictures, albums from Windows). When that fails too, it is
//    kept as a 320 x 200 placeholder with its path, rotation and key unchanged, so saving again
//    keeps the entry, and one message names it.
//  - `loaderThreads` pictures are loaded at once (at least 1); messages keep album order.
AlbumApplyResult applyAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                Album& album, const AlbumPictureSource& source,
                                unsigned loaderThreads = 1, const AlbumLoadProgress& progress = {});

struct AlbumOpenResult {
    bool ok = false;  // false: nothing changed (after running out of memory: empty and untitled)
    std::vector<std::string> messages;         // German; a failed open gives exactly one
    std::vector<PictureLoadFailure> failures;  // as in AlbumApplyResult
    AlbumSettings settings;                    // on success: copy these into the controls
    bool runQualityCheck = false;
    AlbumFileVersion version = AlbumFileVersion::V4_0;
};

// "Öffnen": readAlbumFile, then applyAlbumFile when the whole file was read.
AlbumOpenResult openAlbumFile(const std::string& albumPath, Album& album,
                              const AlbumSettings& current, const OldPageGeometry& page,
                              const AlbumPictureSource& source, unsigned loaderThreads = 1,
                              const AlbumLoadProgress& progress = {});

// OpenDib with the content deciding the format, RotRight, RotLeft.
AlbumPictureSource albumPictureSourceOfRasterLibrary();

}  // namespace pr
