#pragma once
// The status bar text of the thumbnail grid for the selected cell.

#include <string>
#include <vector>

#include "core/browse/ThumbInfo.h"

namespace pr {

// "Thumbnail: 1600 x 1200 x 16777216 - 5625 KByte  (3 von 12)" for cell `selection` (counted
// from 1) of `infos.size()` cells, or "Bild: keins   " when no cell is selected. The two spaces
// before the parenthesis and the three after "keins" are part of the text.
std::string thumbStatusText(const std::vector<ThumbInfo>& infos, int selection);

}  // namespace pr
