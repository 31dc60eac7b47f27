#pragma once
// Brightness, contrast and saturation confirmed with "OK": one more adjustment in the picture's
// recipe, undone by taking it off again. The renditions without it are still cached, so undoing
// decodes nothing.

#include <cstdint>

#include "core/album/Album.h"
#include "gui/undo/AlbumCommand.h"

namespace pr {

class AdjustPictureCommand : public AlbumCommand {
public:
    AdjustPictureCommand(int32_t key, const Adjustment& adjustment)
        : AlbumCommand(QStringLiteral("Helligkeit, Kontrast und Sättigung")),
          key_(key),
          adjustment_(adjustment) {}

protected:
    void redoChange(Album& album) override {
        if (AlbumImage* picture = album.pictureWithKey(key_))
            picture->Adjustments.push_back(adjustment_);
    }
    void undoChange(Album& album) override {
        AlbumImage* picture = album.pictureWithKey(key_);
        if (picture && !picture->Adjustments.empty() && picture->Adjustments.back() == adjustment_)
            picture->Adjustments.pop_back();
    }

private:
    int32_t key_;
    Adjustment adjustment_;
};

}  // namespace pr
