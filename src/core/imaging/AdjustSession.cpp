#include "core/imaging/AdjustSession.h"

#include <utility>

namespace pr {

bool AdjustSession::begin(const ImageBuffer& picture) {
    work_ = picture;
    if (!MakeBackup(picture, backup_)) {
        deldib(work_);
        return false;
    }
    return true;
}

void AdjustSession::preview(int brightness, int contrast, int saturation) {
    if (!backup_.valid() || !RestoreOld(work_, backup_)) return;
    AdjustAll(work_, brightness, contrast, saturation);
}

void AdjustSession::accept(ImageBuffer& picture) {
    if (!backup_.valid()) return;  // no session: the picture is not ours to replace
    deldib(backup_);
    picture = std::move(work_);
    deldib(work_);
}

void AdjustSession::cancel(ImageBuffer& picture) {
    if (!backup_.valid()) return;
    deldib(work_);
    picture = std::move(backup_);
    deldib(backup_);
}

}  // namespace pr
