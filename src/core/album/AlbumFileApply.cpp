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

struct LoadedPicture {
    AlbumImage image;
    bool missing = false;
    std::string reason;
};

bool tryLoad(const AlbumPictureSource& source, const std::string& path, ImageBuffer& out,
             std::string* reason) {
    if (!source.load || !source.load(path, out) || !out.valid()) {
        if (reason) *reason = out.message;
        deldib(out);
        return false;
    }
    return true;
}

// The stored quarter turns applied to a freshly loaded picture; returns the turns that were made.
int32_t turnAsStored(const AlbumPictureSource& source, ImageBuffer& image, int32_t rotation) {
    const auto turn = [&image](const std::function<bool(ImageBuffer&)>& f) {
        return f && f(image);
    };
    switch (rotation) {
        case 1:
            return turn(source.turnRight) ? 1 : 0;
        case 2:
            if (!turn(source.turnRight)) return 0;
            return turn(source.turnRight) ? 2 : 1;
        case 3:
            return turn(source.turnLeft) ? 3 : 0;
        default:
            return 0;
    }
}

// The album entry as stored, without pixels yet.
AlbumImage entryOf(const StoredPicture& stored) {
    AlbumImage picture;
    picture.FileName = stored.FileName;
    picture.Comment = stored.Comment;
    picture.Key = stored.Key;
    picture.Rotation = stored.Rotation;
    return picture;
}

LoadedPicture loadPicture(const StoredPicture& stored, const std::string& albumFolder,
                          const AlbumPictureSource& source) {
    LoadedPicture result{entryOf(stored), false};
    AlbumImage& picture = result.image;

    // The reason is the stored path's: that is the path the message names.
    bool loaded = tryLoad(source, stored.FileName, picture.Image, &result.reason);
    if (!loaded) {
        const std::string besideAlbum = albumFolder + splitStoredPath(stored.FileName).name;
        if (besideAlbum != stored.FileName &&
            tryLoad(source, besideAlbum, picture.Image, nullptr)) {
            picture.FileName = besideAlbum;
            loaded = true;
        }
    }
    if (loaded) {
        picture.Rotation = turnAsStored(source, picture.Image, stored.Rotation);
    } else {
        result.missing = true;
        newdib(picture.Image, 320, 200, 24);  // on failure the entry simply has no pixels
    }
    return result;
}

std::vector<LoadedPicture> loadAll(const std::vector<StoredPicture>& stored,
                                   const std::string& albumFolder, const AlbumPictureSource& source,
                                   unsigned threads, const AlbumLoadProgress& progress) {
    std::vector<LoadedPicture> loaded(stored.size());
    const int total = static_cast<int>(stored.size());
    DecodeTick tick;
    if (progress) tick = [&progress, total](int done) { progress(done, total); };
    // A picture whose loading threw is missing like one that is not there; the others go on.
    forEachInParallel(
        stored.size(), std::max(threads, 1u),
        [&](std::size_t i) { loaded[i] = loadPicture(stored[i], albumFolder, source); }, tick, 30,
        [&](std::size_t i, const std::exception_ptr&) {
            loaded[i] = LoadedPicture{entryOf(stored[i]), true};
            newdib(loaded[i].image.Image, 320, 200, 24);
        });
    return loaded;
}

class LoadingFlag {
public:
    explicit LoadingFlag(Album& album) : album_(album) { album_.AlbumLoading = true; }
    ~LoadingFlag() { album_.AlbumLoading = false; }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;

private:
    Album& album_;
};

}  // namespace

AlbumApplyResult applyAlbumFile(const AlbumFileContent& content, const std::string& albumPath,
                                Album& album, const AlbumPictureSource& source,
                                unsigned loaderThreads, const AlbumLoadProgress& progress) {
    LoadingFlag loading(album);
    AlbumApplyResult result;
    std::vector<LoadedPicture> loaded =
        loadAll(content.Pictures, albumFolderOf(albumPath), source, loaderThreads, progress);

    album.DelallPics();
    for (const Placement& p : content.Placements) {
        uint8_t* record = album.Placements.Append();
        if (!record) {
            for (LoadedPicture& picture : loaded) deldib(picture.image.Image);
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
    for (LoadedPicture& picture : loaded) {
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
