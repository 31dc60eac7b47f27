#include "core/album/PictureEntries.h"

#include <algorithm>

namespace pr {

namespace {

PictureSourcePtr placeholderFor(int32_t rotation) {
    const bool across = rotation % 2 != 0;
    ImageBuffer placeholder;
    newdib(placeholder, across ? 200 : 320, across ? 320 : 200, 24);  // else: no pixels
    return heldPicture(placeholder);
}

}  // namespace

std::vector<PictureEntry> pictureEntries(const Album& album, std::vector<int32_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::vector<PictureEntry> entries;
    for (int32_t i : indices) {
        if (i < 0 || i >= album.PictureCount()) continue;
        PictureEntry e;
        e.Index = i;
        e.Image = album.Pictures[static_cast<std::size_t>(i)];
        e.Source = e.Image.Source;
        e.Image.Source.reset();
        e.Image.Preview.reset();
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<std::string> insertPictureEntries(Album& album,
                                              const std::vector<PictureEntry>& entries,
                                              const PictureSourceFinder& find) {
    std::vector<PictureSourcePtr> sources(entries.size());
    std::vector<std::string> toRead;
    std::vector<std::size_t> readFor;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        sources[i] = entries[i].Source.lock();
        if (!sources[i]) {
            toRead.push_back(entries[i].Image.FileName);
            readFor.push_back(i);
        }
    }
    if (!toRead.empty() && find) {
        std::vector<PictureSourcePtr> found = find(toRead);
        for (std::size_t k = 0; k < readFor.size() && k < found.size(); ++k)
            sources[readFor[k]] = std::move(found[k]);
    }
    std::vector<std::string> unreadable;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        AlbumImage picture = entries[i].Image;
        picture.Source = std::move(sources[i]);
        if (!picture.Source || !picture.Source->hasPixels()) {
            unreadable.push_back(picture.FileName);
            picture.Source = placeholderFor(picture.Rotation);
        }
        const auto at = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(0, entries[i].Index)), album.Pictures.size());
        album.Pictures.insert(album.Pictures.begin() + static_cast<std::ptrdiff_t>(at),
                              std::move(picture));
    }
    return unreadable;
}

void removePicturesWithKeys(Album& album, const std::vector<int32_t>& keys) {
    for (int32_t i = album.PictureCount() - 1; i >= 0; --i) {
        const int32_t key = album.Pictures[static_cast<std::size_t>(i)].Key;
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) album.removePicture(i);
    }
}

std::vector<int32_t> pictureKeyOrder(const Album& album) {
    std::vector<int32_t> keys;
    keys.reserve(album.Pictures.size());
    for (const AlbumImage& picture : album.Pictures) keys.push_back(picture.Key);
    return keys;
}

bool restorePictureKeyOrder(Album& album, const std::vector<int32_t>& keys) {
    if (keys.size() != album.Pictures.size()) return false;
    std::vector<AlbumImage> ordered;
    ordered.reserve(keys.size());
    std::vector<bool> taken(album.Pictures.size(), false);
    for (int32_t key : keys) {
        bool found = false;
        for (std::size_t i = 0; i < album.Pictures.size(); ++i) {
            if (taken[i] || album.Pictures[i].Key != key) continue;
            taken[i] = true;
            ordered.push_back(album.Pictures[i]);
            found = true;
            break;
        }
        if (!found) return false;
    }
    album.Pictures.swap(ordered);
    return true;
}

}  // namespace pr
