#include "core/layout/Arrangement.h"

#include <cmath>

#include "core/layout/PageUnits.h"
#include "core/layout/PlacementEditing.h"

namespace pr {

GridShape arrangementGrid(int n) {
    if (n <= 0) return {};
    GridShape g;
    g.columns = static_cast<int>(std::sqrt(static_cast<double>(n)));
    // sqrt of a perfect square may come out a hair below the integer.
    while (static_cast<long long>(g.columns + 1) * (g.columns + 1) <= n) ++g.columns;
    g.rows = static_cast<int>(static_cast<double>(n) / g.columns);
    while (static_cast<long long>(g.columns) * g.rows < n) ++g.rows;
    return g;
}

std::vector<uint32_t> arrangePage(Album& album, int32_t page, double pageWidthInches,
                                  double pageHeightInches, double marginMm, double gapMm) {
    std::vector<uint32_t> onPage;
    for (uint32_t i = 0; i < album.placementCount(); ++i)
        if (album.placementAt(i)->Page == page) onPage.push_back(i);
    if (onPage.empty()) return onPage;

    const GridShape g = arrangementGrid(static_cast<int>(onPage.size()));
    const long double margin = marginMm / MmPerInch;
    const long double gap = gapMm / MmPerInch;
    const long double cellW = (pageWidthInches - 2 * margin - (g.columns - 1) * gap) / g.columns;
    const long double cellH = (pageHeightInches - 2 * margin - (g.rows - 1) * gap) / g.rows;
    int column = 0, row = 0;
    for (uint32_t i : onPage) {
        Placement& p = *album.placementAt(i);
        p.Left = static_cast<double>(margin + (cellW + gap) * column);
        p.Top = static_cast<double>(margin + (cellH + gap) * row);
        p.Width = static_cast<double>(cellW);
        p.Height = static_cast<double>(cellH);
        if (++column == g.columns) {
            column = 0;
            ++row;
        }
    }
    return onPage;
}

std::vector<uint32_t> overtakeAll(Album& album, int32_t page, double pageWidthInches,
                                  double widthMm, double heightMm, bool fitCrop) {
    std::vector<uint32_t> added;
    const int32_t m = album.PictureCount();
    for (int32_t i = 0; i < m; ++i) {
        const double offset = static_cast<double>(pageWidthInches * 2.0L / 3.0L * i / m);
        const int32_t index =
            AddPlacement(album, album.Pictures[static_cast<size_t>(i)].Key, page, offset, offset,
                         mmToInches(widthMm), mmToInches(heightMm), fitCrop);
        if (index < 0) break;
        added.push_back(static_cast<uint32_t>(index));
        album.SelectedPlacement = index;
    }
    return added;
}

}  // namespace pr
