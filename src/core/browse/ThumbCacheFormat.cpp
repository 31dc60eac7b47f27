#include "core/browse/ThumbCacheFormat.h"

#include "core/browse/ThumbnailSize.h"
#include "core/imaging/DibSize.h"
#include "core/io/PathText.h"

namespace pr {

std::string thumbCacheFilePath(const std::string& folder) {
    if (folder.empty()) return std::string();
    return WithBackslash(folder) + kThumbCacheFileName;
}

uint32_t colorTableBytes(int32_t colorCount) {
    return colorCount >= 0 && colorCount <= 256 ? 4u * static_cast<uint32_t>(colorCount) : 0u;
}

std::optional<uint32_t> thumbDataBytes(const ThumbInfo& info) {
    if (colorCountForBits(info.bitCount) == 0 ||
        info.colorCount != colorCountForBits(info.bitCount))
        return std::nullopt;
    if (info.thumbWidth < 1 || info.thumbWidth > kThumbnailSide || info.thumbHeight < 1 ||
        info.thumbHeight > kThumbnailSide)
        return std::nullopt;
    DibLayout layout;
    if (computeDibLayout(info.thumbWidth, info.thumbHeight, info.bitCount, layout) != SizeCheck::Ok)
        return std::nullopt;
    return static_cast<uint32_t>(kBitmapHeaderBytes + colorTableBytes(info.colorCount) +
                                 layout.imageBytes);
}

}  // namespace pr
