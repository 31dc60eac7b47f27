#include "gui/undo/RemovePicturesCommand.h"

#include "gui/undo/AlbumHistory.h"

namespace pr {

RemovePicturesCommand::RemovePicturesCommand(const Album& album, std::vector<PictureEntry> removed,
                                             PlacementsSnapshot placementsBefore)
    : AlbumCommand(QStringLiteral("Bilder löschen")),
      removed_(std::move(removed)),
      before_(std::move(placementsBefore)),
      after_(PlacementsSnapshot::of(album)) {}

std::size_t RemovePicturesCommand::bytes() const {
    std::size_t total = sizeof(*this) + before_.bytes() + after_.bytes();
    for (const PictureEntry& e : removed_)
        total += sizeof(e) + e.Image.FileName.capacity() + e.Image.Comment.capacity() +
                 e.Image.Adjustments.capacity() * sizeof(Adjustment);
    return total;
}

void RemovePicturesCommand::redoChange(Album& album) {
    std::vector<int32_t> keys;
    for (const PictureEntry& e : removed_) keys.push_back(e.Image.Key);
    removePicturesWithKeys(album, keys);
    after_.restore(album);
}

void RemovePicturesCommand::undoChange(Album& album) {
    history().insertPictures(removed_);
    before_.restore(album);
}

}  // namespace pr
