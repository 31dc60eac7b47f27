#pragma once
// The list of favourite folders, most recently used first, as the favourites strip shows it and
// folders.dat stores it. Folders are compared byte for byte: two paths that differ only in the case
// of a letter are two favourites.

#include <cstddef>
#include <string>
#include <vector>

namespace pr {

// The reader keeps at most this many favourites and passes over longer lines, and the list never
// grows beyond what the reader takes back, so what is saved is what the next start shows.
constexpr std::size_t kMaxFavouriteFolders = 1000;
constexpr std::size_t kMaxFavouriteFolderBytes = 4096;  // PATH_MAX

// True when `folder` can be stored as one line of folders.dat and read back unchanged: not longer
// than the limit, free of line ends and zero bytes, and not starting with U+FEFF.
bool isStorableFavourite(const std::string& folder);

// Puts `folder` at the top: the last item equal to it (if any) is removed, then the folder is
// inserted first; earlier duplicates, which only a hand-edited file can hold, stay where they are.
// When the list then exceeds kMaxFavouriteFolders, the least recently used items go.
// Returns false, leaving the list unchanged, for a folder that isStorableFavourite refuses.
bool moveFolderToTop(std::vector<std::string>& favourites, const std::string& folder);

}  // namespace pr
