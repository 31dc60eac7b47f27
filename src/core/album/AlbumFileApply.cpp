#include "core/album/AlbumFileApply.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "core/album/AlbumFileMessages.h"
#include "core/album/AlbumFileText.h"
#include "core/album/PictureDecoding.h"
#include "core/io/PathText.h"

namespace pr {

namespace {

class LoadingFlag {
public:
    explicit LoadingFlag(Album& album) : album_(album) { album_.AlbumLoading = true; }
    ~LoadingFlag() { album_.AlbumLoading = false; }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;

private:
    Album& album_;
};

bool tryInspect(const AlbumPictureSource& source, const std::string& path, PictureSourcePtr& out,
                std::string* reason) {
    std::string why;
    if (!source.inspect || !source.inspect(path, out, why) || !out || !out->hasPixels()) {
        out.reset();
        if (reason) *reason = why;
        return false;
    }
    return true;
}

// The album entry as stored, without pixels yet.
AlbumImage entryOf(const StoredPicture& stored) {
    AlbumImage picture;
    picture.FileName = stored.FileName;
    picture.Comment = stored.Comment;
    picture.Key = stored.Key;
    picture.Rotation = stored.Rotation >= 1 && stored.Rotation <= 3 ? stored.Rotation : 0;
    picture.Adjustments = stored.Adjustments;
    return picture;
}

// Kept with its path, turns and key, so saving writes the entry unchanged; its place shows a
// black picture of 320 x 200 once turned (held the other way round when the stored turns
// exchange the sides).
void makePlaceholder(AlbumImage& picture, int32_t storedRotation) {
    picture.Rotation = storedRotation;
    const bool across = storedRotation % 2 != 0;
    ImageBuffer placeholder;
    newdib(placeholder, across ? 200 : 320, across ? 320 : 200, 24);  // else: no pixels
    picture.Source = heldPicture(placeholder);
}

}  // namespace

LoadedAlbumPicture loadAlbumPicture(const StoredPicture& stored, const std::string& albumFolder,
                                    const AlbumPictureSource& source) {
    LoadedAlbumPicture result;
    result.image = entryOf(stored);
    AlbumImage& picture = result.image;

    // The reason is the stored path's: that is the path the message names.
    bool loaded = tryInspect(source, stored.FileName, picture.Source, &result.reason);
    if (!loaded) {
        const std::string besideAlbum = albumFolder + splitStoredPath(stored.FileName).name;
        if (besideAlbum != stored.FileName &&
            tryInspect(source, besideAlbum, picture.Source, nullptr)) {
            picture.FileName = besideAlbum;
            loaded = true;
        }
    }
    if (!loaded) {
        result.missing = true;
        makePlaceholder(picture, stored.Rotation);
    }
    return result;
}

std::vector<LoadedAlbumPicture> loadAlbumPictures(const AlbumFileContent& content,
                                                  const std::string& albumPath,
                                                  const AlbumPictureSource& source,
                                                  unsigned threads,
                                                  const AlbumLoadProgress& progress) {
    const std::vector<StoredPicture>& stored = content.Pictures;
    const std::string folder = albumFolderOf(albumPath);
    std::vector<LoadedAlbumPicture> loaded(stored.size());
    const int total = static_cast<int>(stored.size());
    DecodeTick tick;
    if (progress) tick = [&progress, total](int done) { progress(done, total); };
    // A picture whose loading threw is missing like one that is not there; the others go on.
    forEachInParallel(
        stored.size(), std::max(threads, 1u),
        [&](std::size_t i) { loaded[i] = loadAlbumPicture(stored[i], folder, source); }, tick, 30,
        [&](std::size_t i, const std::exception_ptr& error) {
            loaded[i] = LoadedAlbumPicture{entryOf(stored[i]), true, pictureLoadFailureText(error)};
            makePlaceholder(loaded[i].image, stored[i].Rotation);
        });
    return loaded;
}

AlbumApplyResult applyAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                Album& album, const AlbumPictureSource& source,
                                unsigned loaderThreads, const AlbumLoadProgress& progress) {
    return applyLoadedAlbum(content, albumPath,
                            loadAlbumPictures(content, albumPath, source, loaderThreads, progress),
                            album);
}

AlbumApplyResult applyLoadedAlbum(const AlbumFileContent& content, const std::string& albumPath,
                                  std::vector<LoadedAlbumPicture> loaded, Album& album) {
    LoadingFlag loading(album);
    AlbumApplyResult result;

    album.DelallPics();
    for (const Placement& p : content.Placements) {
        uint8_t* record = album.Placements.Append();
        if (!record) {
            loaded.clear();
            album.DelallPics();
            // Untitled, so that "Speichern" cannot write the emptied album over the old file.
            album.AlbumFileName.clear();
            result.messages.push_back(albumOutOfMemoryMessage());
            return result;
        }
        std::memcpy(record, &p, sizeof p);
    }

    std::set<int32_t> keys;
    album.Pictures.reserve(loaded.size());
    for (LoadedAlbumPicture& picture : loaded) {
        if (picture.missing) {
            result.messages.push_back(albumPictureMissingMessage(picture.image.FileName));
            result.failures.push_back({picture.image.FileName, picture.reason});
        }
        keys.insert(picture.image.Key);
        album.Pictures.push_back(std::move(picture.image));
    }
    for (const Placement& p : content.Placements) {
        if (keys.count(p.ImageKey) == 0) ++result.orphanPlacements;
    }

    album.SelectedPlacement = content.SelectedPlacement;
    album.StripSelection = content.StripSelection;
    album.NextPictureKey = content.NextPictureKey;
    album.AlbumFileName = albumPath;
    result.runQualityCheck = content.Version == AlbumFileVersion::V4_0;
    result.ok = true;
    return result;
}

AlbumOpenResult openAlbumFile(const std::string& albumPath, Album& album,
                              const AlbumSettings& current, const OldPageGeometry& page,
                              const AlbumPictureSource& source, unsigned loaderThreads,
                              const AlbumLoadProgress& progress) {
    AlbumOpenResult result;
    result.settings = current;
    const AlbumReadResult read = readAlbumFile(albumPath, current, page);
    if (!read.ok()) {
        album.AlbumLoading = false;
        result.messages.push_back(read.message);
        return result;
    }
    AlbumApplyResult applied =
        applyAlbumFile(read.content, albumPath, album, source, loaderThreads, progress);
    result.ok = applied.ok;
    result.messages = std::move(applied.messages);
    result.failures = std::move(applied.failures);
    result.version = read.content.Version;
    if (applied.ok) {
        result.settings = read.content.Settings;
        result.runQualityCheck = applied.runQualityCheck;
    }
    return result;
}

}  // namespace pr
