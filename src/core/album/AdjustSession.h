#pragma once
// The working state of the brightness/contrast/saturation dialog, without the dialog.
//
// While the dialog is open, "Vorschau" sets the picture's preview adjustment: every rendition of
// the picture made meanwhile (strip, page) shows it, made from the cached renditions without it,
// so nothing is decoded for a preview. Every preview replaces the one before, so previews never
// pile up. accept() records the last preview in the picture's recipe (Adjustments) and cancel()
// drops it: the picture is exactly as before, its renditions still cached.
//
// The picture is looked up by key at every step: the album may change while the modal dialog
// runs its event loop, and a picture removed meanwhile is simply left alone.

#include <cstdint>

#include "core/album/Album.h"

namespace pr {

class AdjustSession {
public:
    // Slider starting positions and ranges.
    static constexpr int kBrightnessStart = 0, kBrightnessMin = -127, kBrightnessMax = 127;
    static constexpr int kContrastStart = 100, kContrastMin = 0, kContrastMax = 200;
    static constexpr int kSaturationStart = 0, kSaturationMin = -100, kSaturationMax = 100;

    // Starts on the picture with `key`. False (nothing started) when there is no such picture or
    // it has no pixels to show.
    bool begin(Album& album, int32_t key);
    // Shows brightness, contrast and saturation in that order on the picture.
    void preview(int brightness, int contrast, int saturation);
    // Keeps the last preview (an adjustment that changes nothing is not recorded); true when the
    // picture's recipe, and so the album file, changed.
    bool accept();
    // Gives back the picture as it was before the dialog.
    void cancel();

    bool running() const { return album_ != nullptr; }

private:
    AlbumImage* picture() const;

    Album* album_ = nullptr;
    int32_t key_ = 0;
};

}  // namespace pr
