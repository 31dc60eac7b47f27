#include "core/layout/PlacementEditing.h"

#include "core/layout/PageUnits.h"

namespace pr {

int32_t PlacementAt(const Album& album, int32_t page, int zoom, int screenPpi, int x, int y) {
    for (int64_t i = static_cast<int64_t>(album.placementCount()) - 1; i >= 0; --i) {
        const Placement& p = *album.placementAt(static_cast<uint32_t>(i));
        if (p.Page != page) continue;
        const PixelRect r = frameOnScreen(p.Left, p.Top, p.Width, p.Height, zoom, screenPpi);
        // In 64 bits: L + W - 1 of a frame far off the page must not wrap.
        if (r.x <= x && x <= static_cast<int64_t>(r.x) + r.w - 1 && r.y <= y &&
            y <= static_cast<int64_t>(r.y) + r.h - 1)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool BringAkInFront(Album& album) {
    const int64_t count = album.placementCount();
    const int32_t sel = album.SelectedPlacement;
    if (sel < 0 || sel >= count - 1) return false;
    album.Placements.Exchange(sel, static_cast<int32_t>(count - 1));
    album.SelectedPlacement = static_cast<int32_t>(count - 1);
    return true;
}

int32_t AddPlacement(Album& album, int32_t key, int32_t page, double left, double top, double width,
                     double height, bool fitCrop) {
    if (!album.Placements.Append()) return -1;
    const uint32_t index = album.placementCount() - 1;
    Placement& p = *album.placementAt(index);
    p.FitCrop = fitCrop ? 1 : 0;
    p.Page = page;
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.ImageKey = key;
    return static_cast<int32_t>(index);
}

bool DeleteSelectedPlacement(Album& album) {
    const int32_t sel = album.SelectedPlacement;
    if (sel < 0 || static_cast<uint32_t>(sel) >= album.placementCount()) return false;
    if (!album.Placements.Delete(sel)) return false;
    album.SelectedPlacement = -1;
    return true;
}

int32_t pictureIndexOfKey(const Album& album, int32_t key) {
    for (int32_t i = 0; i < album.PictureCount(); ++i)
        if (album.Pictures[static_cast<size_t>(i)].Key == key) return i;
    return -1;
}

}  // namespace pr
