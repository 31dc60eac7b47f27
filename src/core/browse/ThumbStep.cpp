#include "core/browse/ThumbStep.h"

#include "core/browse/ExtensionTable.h"
#include "core/browse/FileCheck.h"
#include "core/browse/ThumbnailSize.h"
#include "core/imaging/DibSize.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/Resize.h"
#include "core/io/PathText.h"

namespace pr {

ThumbLookupResult lookUpThumbnail(const std::string& folder, const std::string& name,
                                  const ThumbCacheReader& cache, const ThumbCheckFn& check) {
    ThumbLookupResult result;
    if (folder.empty()) return result;
    const int formatCode = formatCodeForFileName(name);
    if (formatCode == 0) return result;

    const std::string path = WithBackslash(folder) + name;
    const std::optional<int32_t> value = check ? check(path) : fileCheck(path);
    if (value) {
        if (const CacheIndexEntry* entry = cache.find(name, *value)) {
            ImageBuffer thumbnail = cache.loadThumbnail(*entry);
            if (!thumbnail.valid()) {
                result.kind = ThumbLookup::CacheUnreadable;
                return result;
            }
            result.kind = ThumbLookup::FromCache;
            result.cell = ThumbCell{name, entry->info, std::move(thumbnail)};
            return result;
        }
    }
    result.kind = ThumbLookup::Make;
    result.job = ThumbJob{name, path, formatCode, value.value_or(0)};
    return result;
}

std::optional<ThumbCell> makeThumbnail(const ThumbJob& job) {
    ImageBuffer picture;
    // JPEGs decode at the smallest DCT scale that still covers the box; the other formats decode
    // fully. The content decides the format, so the format code is not needed here.
    const DecodeResult decoded = OpenDibReduced(picture, job.path, kThumbnailSide, kThumbnailSide);
    if (!decoded.ok() || !picture.valid()) return std::nullopt;

    const int width = decoded.trueWidth > 0 ? decoded.trueWidth : picture.width();
    const int height = decoded.trueHeight > 0 ? decoded.trueHeight : picture.height();
    const std::optional<ThumbnailSize> size = thumbnailSizeFor(width, height);
    if (!size) return std::nullopt;

    ThumbCell cell;
    cell.name = job.name;
    if (!Resize(picture, size->width, size->height, true, cell.thumbnail)) return std::nullopt;

    // The thumbnail has the decoded bit count; a file stored at another depth (16-bit BMP, say)
    // is shown at the depth the program works with, and the record must describe the thumbnail.
    const int bits = cell.thumbnail.bitCount();
    DibLayout full;
    const uint64_t imageBytes =
        computeDibLayout(width, height, bits, full) == SizeCheck::Ok ? full.imageBytes : 0;
    cell.info =
        makeThumbInfo(bits, size->width, size->height, width, height, imageBytes, job.check);
    return cell;
}

}  // namespace pr
