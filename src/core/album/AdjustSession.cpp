#include "core/album/AdjustSession.h"

#include <algorithm>

namespace pr {

AlbumImage* AdjustSession::picture() const {
    return album_ ? album_->pictureWithKey(key_) : nullptr;
}

bool AdjustSession::begin(Album& album, int32_t key) {
    album_ = nullptr;
    const AlbumImage* p = album.pictureWithKey(key);
    if (!p || !p->hasPixels()) return false;
    album_ = &album;
    key_ = key;
    return true;
}

void AdjustSession::preview(int brightness, int contrast, int saturation) {
    AlbumImage* p = picture();
    if (!p) return;
    // The ranges of the sliders, as the adjustments themselves take them.
    p->Preview = Adjustment{std::clamp(brightness, kBrightnessMin, kBrightnessMax),
                            std::clamp(contrast, kContrastMin, kContrastMax),
                            std::clamp(saturation, kSaturationMin, kSaturationMax)};
}

bool AdjustSession::accept() {
    bool recorded = false;
    if (AlbumImage* p = picture()) {
        if (p->Preview && !p->Preview->changesNothing()) {
            p->Adjustments.push_back(*p->Preview);
            recorded = true;
        }
        p->Preview.reset();
    }
    album_ = nullptr;
    return recorded;
}

void AdjustSession::cancel() {
    if (AlbumImage* p = picture()) p->Preview.reset();
    album_ = nullptr;
}

}  // namespace pr
