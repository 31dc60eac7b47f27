#include "core/imaging/ImageBackup.h"

#include <cstring>
#include <memory>

namespace pr {

bool MakeBackup(const ImageBuffer& picture, ImageBuffer& backup) {
    deldib(backup);
    if (!picture.valid()) return false;
    if (!newdib(backup, picture.width(), picture.height(), picture.bitCount(), picture.info,
                picture.tableSize())) {
        return false;
    }
    std::memcpy(backup.bits, picture.bits, static_cast<size_t>(picture.imageBytes()));
    // The record's palette, not one rebuilt from the table: it is what the picture showed.
    backup.palette = picture.palette;
    backup.hasPalette = picture.hasPalette;
    backup.paletteHandle = std::make_shared<const LogPalette>(backup.palette);
    if (!backup.hasPalette) backup.paletteHandle.reset();
    return true;
}

bool RestoreOld(ImageBuffer& work, const ImageBuffer& backup) {
    if (!work.valid() || !backup.valid() || work.width() != backup.width() ||
        work.height() != backup.height() || work.bitCount() != backup.bitCount() ||
        work.imageBytes() != backup.imageBytes()) {
        return false;
    }
    std::memcpy(work.bits, backup.bits, static_cast<size_t>(backup.imageBytes()));
    if (work.hasPalette) {
        work.palette = backup.palette;
        const int n = work.tableSize();
        std::memcpy(work.info->colors, backup.info->colors, sizeof(RgbQuad) * n);
        work.paletteHandle = std::make_shared<const LogPalette>(work.palette);
    }
    return true;
}

}  // namespace pr
