#include "core/browse/ThumbStatusText.h"

namespace pr {

std::string thumbStatusText(const std::vector<ThumbInfo>& infos, int selection) {
    const int count = static_cast<int>(infos.size());
    // The selection never drops below 1 through the keys; the lower bound only keeps a caller's
    // slip from indexing before the first cell.
    if (selection > count || selection < 1) return "Bild: keins   ";
    const ThumbInfo& info = infos[static_cast<std::size_t>(selection - 1)];
    return "Thumbnail: " + std::to_string(info.pictureWidth) + " x " +
           std::to_string(info.pictureHeight) + " x " + std::to_string(info.colorCount) + " - " +
           std::to_string(info.kiloBytes) + " KByte " + " (" + std::to_string(selection) + " von " +
           std::to_string(count) + ")";
}

}  // namespace pr
