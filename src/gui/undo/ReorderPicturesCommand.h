#pragma once
// The album's pictures put in another order ("Nach oben/unten verschieben", "Nach Namen
// sortieren..."): undone and redone by putting the keys back in their order. Placements name
// pictures by key, so they stay as they are.

#include <cstdint>
#include <vector>

#include "core/album/PictureEntries.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class ReorderPicturesCommand : public AlbumCommand {
public:
    // `before`: the keys in album order before the change; the album holds the change now.
    ReorderPicturesCommand(const Album& album, std::vector<int32_t> before, const QString& text)
        : AlbumCommand(text), before_(std::move(before)), after_(pictureKeyOrder(album)) {}

    bool changesNothing() const override { return before_ == after_; }
    bool changesPictureList() const override { return true; }
    std::size_t bytes() const override {
        return sizeof(*this) + (before_.capacity() + after_.capacity()) * sizeof(int32_t);
    }

protected:
    void redoChange(Album& album) override { restorePictureKeyOrder(album, after_); }
    void undoChange(Album& album) override { restorePictureKeyOrder(album, before_); }

private:
    std::vector<int32_t> before_;
    std::vector<int32_t> after_;
};

}  // namespace pr
