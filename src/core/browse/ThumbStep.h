#pragma once
// One step of a thumbnail run for one directory entry, in two halves so that the slow half can
// leave the window thread:
//  - lookUpThumbnail (window thread): the extension table, the check value and the cache look-up.
//    It ends with a cell from the cache, with no cell, or with a job to make the thumbnail.
//  - makeThumbnail (any thread): decodes the picture at reduced size and scales it to the
//    thumbnail size. It touches nothing but the picture file and what it returns.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/browse/ThumbCacheReader.h"
#include "core/browse/ThumbCell.h"

namespace pr {

struct ThumbJob {
    std::string name;  // the directory entry's name
    std::string path;  // WithBackslash(run folder) + name
    int formatCode = 0;
    int32_t check = 0;  // 0 when the file could not be examined: matches nothing, ever
};

enum class ThumbLookup {
    NotAPicture,      // extension not in the table: no cell, nothing else
    FromCache,        // `cell` holds the stored thumbnail
    CacheUnreadable,  // an entry matched but its thumbnail did not read: no cell in this run
    Make,             // `job` says what to make
};

struct ThumbLookupResult {
    ThumbLookup kind = ThumbLookup::NotAPicture;
    ThumbCell cell;
    ThumbJob job;
};

using ThumbCheckFn = std::function<std::optional<int32_t>(const std::string& path)>;

// `check` defaults to fileCheck. The first cache entry with the same name (a..z regardless of
// case) and the same check value serves the file; its ThumbInfo is taken as stored.
ThumbLookupResult lookUpThumbnail(const std::string& folder, const std::string& name,
                                  const ThumbCacheReader& cache, const ThumbCheckFn& check = {});

// The cell for a job, or nothing when the picture does not load or has a side below 2 pixels.
// The thumbnail keeps the decoded picture's bit count and colour table; ThumbInfo carries the
// picture's true size and the kilobytes of its full-size pixel data, also when the decoder
// reduced it on the way.
using ThumbMakerFn = std::function<std::optional<ThumbCell>(const ThumbJob& job)>;
std::optional<ThumbCell> makeThumbnail(const ThumbJob& job);

}  // namespace pr
