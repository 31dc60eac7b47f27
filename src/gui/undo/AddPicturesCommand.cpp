#include "gui/undo/AddPicturesCommand.h"

#include <numeric>

#include "gui/undo/AlbumHistory.h"

namespace pr {

namespace {

std::vector<int32_t> indicesFrom(int32_t first, int32_t count) {
    std::vector<int32_t> indices(static_cast<std::size_t>(std::max(0, count - first)));
    std::iota(indices.begin(), indices.end(), first);
    return indices;
}

std::size_t entryBytes(const std::vector<PictureEntry>& entries) {
    std::size_t total = 0;
    for (const PictureEntry& e : entries)
        total += sizeof(e) + e.Image.FileName.capacity() + e.Image.Comment.capacity() +
                 e.Image.Adjustments.capacity() * sizeof(Adjustment);
    return total;
}

}  // namespace

AddPicturesCommand::AddPicturesCommand(const Album& album, int32_t firstIndex, int32_t keyBefore)
    : AlbumCommand(QStringLiteral("Bilder hinzufügen")),
      entries_(pictureEntries(album, indicesFrom(firstIndex, album.PictureCount()))),
      keyBefore_(keyBefore),
      keyAfter_(album.NextPictureKey) {}

std::size_t AddPicturesCommand::bytes() const {
    return sizeof(*this) + entryBytes(entries_);
}

void AddPicturesCommand::redoChange(Album& album) {
    history().insertPictures(entries_);
    album.NextPictureKey = keyAfter_;
}

void AddPicturesCommand::undoChange(Album& album) {
    std::vector<int32_t> keys;
    for (const PictureEntry& e : entries_) keys.push_back(e.Image.Key);
    removePicturesWithKeys(album, keys);
    // No placement names these keys any more (placing them came later and was undone first), so
    // handing them out again cannot mix two pictures up.
    album.NextPictureKey = keyBefore_;
}

}  // namespace pr
