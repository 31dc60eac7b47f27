#pragma once
// The working state of the brightness/contrast/saturation dialog, without the dialog.
//
// While the dialog is open the adjustments work directly on the album picture's pixels (the work
// record shares them), so the page and the strip show each preview. The backup is a separate
// image; accept() keeps the work record, cancel() puts the backup in the picture's place.
//
// Use: begin(picture.Image) before showing the dialog (on false show kBackupFailedText and do not
// open it); preview() for "Vorschau" and "OK"; then accept() or cancel() with the same picture.

#include "core/imaging/Adjust.h"
#include "core/imaging/ImageBackup.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

class AdjustSession {
public:
    // Slider starting positions and ranges.
    static constexpr int kBrightnessStart = 0, kBrightnessMin = -127, kBrightnessMax = 127;
    static constexpr int kContrastStart = 100, kContrastMin = 0, kContrastMax = 200;
    static constexpr int kSaturationStart = 0, kSaturationMin = -100, kSaturationMax = 100;

    bool begin(const ImageBuffer& picture);
    // Starts again from the backup, then brightness, contrast and saturation in that order.
    void preview(int brightness, int contrast, int saturation);
    void accept(ImageBuffer& picture);
    void cancel(ImageBuffer& picture);

    const ImageBuffer& work() const { return work_; }
    const ImageBuffer& backup() const { return backup_; }

private:
    ImageBuffer work_;
    ImageBuffer backup_;
};

}  // namespace pr
