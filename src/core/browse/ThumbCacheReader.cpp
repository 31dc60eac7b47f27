#include "core/browse/ThumbCacheReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/browse/ThumbCacheFormat.h"
#include "core/io/ByteReader.h"
#include "core/io/InputFile.h"
#include "core/io/UpperText.h"

namespace pr {

class ThumbCacheReader::Source {
public:
    virtual ~Source() = default;
    virtual uint64_t size() const = 0;
    // Exactly `n` bytes from `offset`, or false.
    virtual bool read(uint64_t offset, void* out, std::size_t n) const = 0;
};

namespace {

class MemorySource final : public ThumbCacheReader::Source {
public:
    MemorySource(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    bool read(uint64_t offset, void* out, std::size_t n) const override {
        if (offset > size_ || n > size_ - offset) return false;
        if (n > 0) std::memcpy(out, data_ + offset, n);
        return true;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
};

class FileSource final : public ThumbCacheReader::Source {
public:
    explicit FileSource(InputFile file) : file_(std::move(file)) {}
    uint64_t size() const override { return file_.size(); }
    bool read(uint64_t offset, void* out, std::size_t n) const override {
        return file_.readExactlyAt(offset, out, n);
    }

private:
    InputFile file_;
};

}  // namespace

ThumbCacheReader::ThumbCacheReader() = default;
ThumbCacheReader::~ThumbCacheReader() = default;
ThumbCacheReader::ThumbCacheReader(ThumbCacheReader&&) noexcept = default;
ThumbCacheReader& ThumbCacheReader::operator=(ThumbCacheReader&&) noexcept = default;

ThumbCacheReader ThumbCacheReader::openFolder(const std::string& folder) {
    if (folder.empty()) return ThumbCacheReader();
    return openFile(thumbCacheFilePath(folder));
}

ThumbCacheReader ThumbCacheReader::openFile(const std::string& path) {
    ThumbCacheReader reader;
    InputFile file;
    if (!file.open(path)) return reader;
    reader.source_ = std::make_unique<FileSource>(std::move(file));
    reader.readIndex();
    return reader;
}

ThumbCacheReader ThumbCacheReader::fromBytes(const uint8_t* data, std::size_t size) {
    ThumbCacheReader reader;
    reader.source_ = std::make_unique<MemorySource>(data, size);
    reader.readIndex();
    return reader;
}

void ThumbCacheReader::readIndex() {
    index_.clear();
    uint8_t head[kThumbCacheHeaderBytes];
    if (!source_->read(0, head, sizeof head)) return;
    ByteReader headFields(head, sizeof head);
    if (headFields.u16() != kThumbCacheMarker) return;
    const int32_t count = headFields.i32();
    if (count <= 0) return;
    const uint64_t fileSize = source_->size();
    // Every entry takes at least its head and a bitmap header, so the bytes present bound how
    // many entries can be real, whatever the count says.
    const uint64_t fitting =
        (fileSize - kThumbCacheHeaderBytes) / (kThumbCacheEntryHeadBytes + kBitmapHeaderBytes);
    const auto limit = static_cast<int32_t>(std::min<uint64_t>(
        {static_cast<uint64_t>(count), static_cast<uint64_t>(kMaxThumbCacheEntries), fitting}));
    index_.reserve(static_cast<std::size_t>(limit));

    uint64_t offset = kThumbCacheHeaderBytes;
    uint8_t entryHead[kThumbCacheEntryHeadBytes];
    for (int32_t i = 0; i < limit; ++i) {
        if (!source_->read(offset, entryHead, sizeof entryHead)) break;
        offset += sizeof entryHead;
        ByteReader fields(entryHead, sizeof entryHead);
        fields.seek(kThumbCacheNameBytes);
        const ThumbInfo info = loadThumbInfo(fields);
        const int32_t length = fields.i32();
        if (length < static_cast<int32_t>(kBitmapHeaderBytes) ||
            static_cast<uint64_t>(length) > fileSize - offset)
            break;
        CacheIndexEntry entry;
        entry.info = info;
        entry.position = offset;
        offset += static_cast<uint64_t>(length);
        const std::optional<uint32_t> expected = thumbDataBytes(entry.info);
        if (!expected || *expected != static_cast<uint32_t>(length)) continue;
        const char* name = reinterpret_cast<const char*>(entryHead);
        entry.name.assign(name, strnlen(name, kThumbCacheNameBytes));
        index_.push_back(std::move(entry));
    }
}

const CacheIndexEntry* ThumbCacheReader::find(const std::string& name, int32_t check) const {
    for (const CacheIndexEntry& entry : index_) {
        if (entry.info.check == check && equalsUpperText(entry.name, name)) return &entry;
    }
    return nullptr;
}

ImageBuffer ThumbCacheReader::loadThumbnail(const CacheIndexEntry& entry) const {
    ImageBuffer result;
    // The entry may come from elsewhere than this index, so its description is checked again.
    const std::optional<uint32_t> dataBytes = thumbDataBytes(entry.info);
    if (!source_ || !dataBytes) return result;
    const uint64_t size = source_->size();
    if (entry.position > size || *dataBytes > size - entry.position) return result;

    BitmapInfo work{};  // a zeroed 40-byte header and 256 colour-table entries
    const uint32_t tableBytes = colorTableBytes(entry.info.colorCount);
    uint8_t carrier[kBitmapHeaderBytes + 256 * 4];
    if (!source_->read(entry.position, carrier, kBitmapHeaderBytes + tableBytes)) return result;
    std::memcpy(work.colors, carrier + kBitmapHeaderBytes, tableBytes);
    const int tableEntries = entry.info.colorCount <= 256 ? entry.info.colorCount : 0;
    if (!newdib(result, entry.info.thumbWidth, entry.info.thumbHeight, entry.info.bitCount, &work,
                tableEntries))
        return result;
    if (!source_->read(entry.position + kBitmapHeaderBytes + tableBytes, result.bits,
                       static_cast<std::size_t>(result.imageBytes())))
        deldib(result);
    return result;
}

}  // namespace pr
