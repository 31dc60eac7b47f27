#pragma once
// Putting a read album file into the Album: every picture file is read again (its size, depth and
// thumbnail; the pixels are decoded when drawn), with its stored quarter turns as its recipe, then
// the album's pictures, placements and selection are replaced in one step. Reading goes through a
// callback so tests need no decoder; production passes albumPictureSourceOfRasterLibrary()
// (inspectPictureFile).
//
// The window reads the pictures on worker threads (loadAlbumPicture for each) and then puts them
// into the album on its own thread (applyLoadedAlbum); openAlbumFile does both in one call.

#include <functional>
#include <string>
#include <vector>

#include "core/album/Album.h"
#include "core/album/AlbumFileFormat.h"
#include "core/album/AlbumFileReader.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

struct AlbumPictureSource {
    // Reads the picture at a path; false (or a source without pixels) when it cannot, with the
    // German reason in `reason` where there is one. Called from several threads at once when
    // more than one loader thread is asked for.
    std::function<bool(const std::string& path, PictureSourcePtr& out, std::string& reason)>
        inspect;
};

// One picture of an album file, read.
struct LoadedAlbumPicture {
    AlbumImage image;
    bool missing = false;  // neither at its path nor beside the album: a placeholder
    std::string reason;    // why it could not be read at its stored path, when known
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

// Reads one stored picture:
//  - A stored rotation of 1, 2 or 3 becomes the picture's Rotation (its renditions are turned
//    right once, twice, left once); any other value means no turn. The stored adjustments become
//    the picture's, in their order.
//  - A picture that does not load at its path is looked for by file name in the album's folder
//    (albums moved together with their pictures, albums from Windows). When that fails too, it is
//    kept as a 320 x 200 placeholder with its path, rotation, key and adjustments unchanged, so
//    saving again keeps the entry.
LoadedAlbumPicture loadAlbumPicture(const StoredPicture& stored, const std::string& albumFolder,
                                    const AlbumPictureSource& source);

// loadAlbumPicture for every picture of `content`, `threads` at once (at least 1), in album
// order.
std::vector<LoadedAlbumPicture> loadAlbumPictures(const AlbumFileContent& content,
                                                  const std::string& albumPath,
                                                  const AlbumPictureSource& source,
                                                  unsigned threads = 1,
                                                  const AlbumLoadProgress& progress = {});

// Replaces the album's pictures, placements, selection and NextPictureKey by the read ones and
// sets AlbumFileName; one message per missing picture, in album order. AlbumLoading is true
// meanwhile and false afterwards.
AlbumApplyResult applyLoadedAlbum(const AlbumFileContent& content, const std::string& albumPath,
                                  std::vector<LoadedAlbumPicture> loaded, Album& album);

// loadAlbumPictures, then applyLoadedAlbum.
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

// inspectPictureFile: the content decides the format. The window judges every picture's data while
// the album opens (damaged files are named at once); printing from the command line reads headers
// only.
AlbumPictureSource albumPictureSourceOfRasterLibrary(bool judgeData = true);

}  // namespace pr
