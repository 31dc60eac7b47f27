#pragma once
// Writing a folder's thumbnail cache file from the grid (layout in ThumbCacheFormat.h).

#include <cstdint>
#include <string>
#include <vector>

#include "core/browse/ThumbCell.h"

namespace pr {

enum class CacheSaveResult {
    Saved,
    NothingToSave,  // the grid has no cells: an existing file stays as it is
    ForeignFile,    // a file of another kind, or one shorter than 2 bytes, has the name
    CannotWrite,    // the folder or the existing file cannot be written; nothing is reported
};

// Writes the cache file of `folder` from `cells`, in their order, replacing the old one atomically.
// An existing file is replaced only when it can be opened for writing and starts with the marker,
// so neither a file of another kind nor one the user made read-only is ever overwritten. Cells that
// cannot be stored (a name beyond 260 bytes, a thumbnail missing or not matching its ThumbInfo)
// are left out, so the file never holds an entry its reader would refuse.
CacheSaveResult saveThumbCache(const std::string& folder, const std::vector<ThumbCell>& cells);

// The file's bytes for `cells`, as saveThumbCache writes them.
std::vector<uint8_t> formatThumbCache(const std::vector<ThumbCell>& cells);

}  // namespace pr
