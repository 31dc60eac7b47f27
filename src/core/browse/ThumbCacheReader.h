#pragma once
// Reading a folder's thumbnail cache file (layout in ThumbCacheFormat.h).
//
// The file is untrusted. What the reader checks, before it allocates anything for an entry:
//  - the marker; a count of 0 or below means an empty index, and no count is believed beyond the
//    bytes present or kMaxThumbCacheEntries;
//  - every entry must lie whole inside the file, its L at least 40; a file that ends inside an
//    entry, or an L that runs past the end, ends the index at the last complete entry, so no
//    entry rests on bytes that were not there;
//  - an entry whose ThumbInfo describes no thumbnail this program makes (thumbDataBytes) or whose
//    L disagrees with it is left out, so its picture gets a fresh thumbnail instead of a garbled
//    one; the entries after it are still used, as L frames them.
// The stored BITMAPINFOHEADER only carries the colour table: size and depth come from ThumbInfo.
//
// The reader keeps the file open from the index to the last thumbnail, so the positions it hands
// out belong to the file they were read from even if the cache is replaced meanwhile.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/browse/ThumbInfo.h"
#include "core/imaging/ImageBuffer.h"

namespace pr {

struct CacheIndexEntry {
    // The stored name up to its zero byte, as raw bytes: it is compared with the name of a
    // directory entry, which on Linux is bytes too, so it is not decoded.
    std::string name;
    ThumbInfo info;
    uint64_t position = 0;  // of the entry's BITMAPINFOHEADER in the file
};

class ThumbCacheReader {
public:
    class Source;  // where the bytes come from: the file, or memory

    ThumbCacheReader();
    ~ThumbCacheReader();
    ThumbCacheReader(ThumbCacheReader&&) noexcept;
    ThumbCacheReader& operator=(ThumbCacheReader&&) noexcept;

    // The cache file of `folder`. A missing folder, file or a file of another kind gives an empty
    // index; so does an empty folder text (a tree node that is no file-system folder).
    static ThumbCacheReader openFolder(const std::string& folder);
    static ThumbCacheReader openFile(const std::string& path);
    // Bytes in memory, which must outlive the reader.
    static ThumbCacheReader fromBytes(const uint8_t* data, std::size_t size);

    const std::vector<CacheIndexEntry>& index() const { return index_; }

    // The first entry, in file order, whose name equals `name` with a..z compared regardless of
    // case and whose check value equals `check`; null when none does.
    const CacheIndexEntry* find(const std::string& name, int32_t check) const;

    // The entry's thumbnail. Without pixels when it cannot be read whole.
    ImageBuffer loadThumbnail(const CacheIndexEntry& entry) const;

private:
    void readIndex();
    std::unique_ptr<Source> source_;
    std::vector<CacheIndexEntry> index_;
};

}  // namespace pr
