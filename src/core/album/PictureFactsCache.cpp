#include "core/album/PictureFactsCache.h"

namespace pr {

const PictureFacts& PictureFactsCache::of(const std::string& path) {
    const auto found = facts_.find(path);
    if (found != facts_.end()) return found->second;
    return facts_.emplace(path, readPictureFacts(path)).first->second;
}

PictureFactsCache& PictureFactsCache::shared() {
    static PictureFactsCache cache;
    return cache;
}

}  // namespace pr
