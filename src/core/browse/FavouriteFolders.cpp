#include "core/browse/FavouriteFolders.h"

namespace pr {

bool isStorableFavourite(const std::string& folder) {
    // A leading U+FEFF would be taken for a byte-order mark when it lands at the start of the
    // file, and the favourite would come back without it.
    return folder.size() <= kMaxFavouriteFolderBytes &&
           folder.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           folder.compare(0, 3, "\xEF\xBB\xBF") != 0;
}

bool moveFolderToTop(std::vector<std::string>& favourites, const std::string& folder) {
    if (!isStorableFavourite(folder)) return false;
    for (std::size_t i = favourites.size(); i-- > 0;) {
        if (favourites[i] == folder) {
            favourites.erase(favourites.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    favourites.insert(favourites.begin(), folder);
    if (favourites.size() > kMaxFavouriteFolders) favourites.resize(kMaxFavouriteFolders);
    return true;
}

}  // namespace pr
