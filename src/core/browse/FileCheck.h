#pragma once
// The check value that ties a cache entry to the picture file it was made from.
//
// It is a fingerprint of the file's size and modification time, taken from the directory entry
// alone: reading every picture through to check it would make even a fully cached folder of large
// photos slow, and a value that ignored the file (older cache files hold 0 for every entry) would
// keep a stale thumbnail for a picture replaced under the same name. The fingerprint is never 0, so
// entries written by an older version never match and their thumbnails are made once more.

#include <cstdint>
#include <optional>
#include <string>

namespace pr {

// Nothing when the file cannot be examined; such a file matches no cache entry.
std::optional<int32_t> fileCheck(const std::string& path);

// The fingerprint itself, for callers that already hold the file's data.
int32_t fileCheckFor(uint64_t size, int64_t modifiedSeconds, int64_t modifiedNanoseconds);

}  // namespace pr
