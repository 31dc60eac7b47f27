#include "core/browse/ThumbCacheWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <functional>

#include "core/browse/ThumbCacheFormat.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

namespace pr {

namespace {

using Sink = std::function<bool(const void*, std::size_t)>;

bool storable(const ThumbCell& cell) {
    if (cell.name.empty() || cell.name.size() >= kThumbCacheNameBytes ||
        cell.name.find('\0') != std::string::npos)
        return false;
    const std::optional<uint32_t> bytes = thumbDataBytes(cell.info);
    const ImageBuffer& t = cell.thumbnail;
    return bytes && t.valid() && t.width() == cell.info.thumbWidth &&
           t.height() == cell.info.thumbHeight && t.bitCount() == cell.info.bitCount &&
           *bytes == kBitmapHeaderBytes + colorTableBytes(cell.info.colorCount) + t.imageBytes();
}

void storeBitmapHeader(const BitmapInfoHeader& h, uint32_t imageBytes, ByteWriter& out) {
    out.u32(40)
        .i32(h.biWidth)
        .i32(h.biHeight)
        .u16(1)
        .u16(h.biBitCount)
        .u32(0)
        .u32(imageBytes)
        .i32(h.biXPelsPerMeter)
        .i32(h.biYPelsPerMeter)
        .u32(h.biClrUsed)
        .u32(h.biClrImportant);
}

// Everything of an entry before its pixel rows.
std::vector<uint8_t> entryHead(const ThumbCell& cell) {
    const uint32_t tableBytes = colorTableBytes(cell.info.colorCount);
    const auto imageBytes = static_cast<uint32_t>(cell.thumbnail.imageBytes());
    ByteWriter out;
    out.bytes(cell.name.data(), cell.name.size()).zeros(kThumbCacheNameBytes - cell.name.size());
    storeThumbInfo(cell.info, out);
    out.u32(static_cast<uint32_t>(kBitmapHeaderBytes) + tableBytes + imageBytes);
    storeBitmapHeader(cell.thumbnail.info->header, imageBytes, out);
    for (uint32_t i = 0; i < tableBytes / 4; ++i) {
        const RgbQuad& q = cell.thumbnail.info->colors[i];
        out.u8(q.blue).u8(q.green).u8(q.red).u8(0);
    }
    return out.take();
}

bool writeCells(const std::vector<ThumbCell>& cells, const Sink& sink) {
    std::vector<const ThumbCell*> kept;
    for (const ThumbCell& cell : cells) {
        if (kept.size() >= static_cast<std::size_t>(kMaxThumbCacheEntries)) break;
        if (storable(cell)) kept.push_back(&cell);
    }
    ByteWriter head;
    head.u16(kThumbCacheMarker).u32(static_cast<uint32_t>(kept.size()));
    if (!sink(head.data().data(), head.size())) return false;

    for (const ThumbCell* cell : kept) {
        const std::vector<uint8_t> headBytes = entryHead(*cell);
        if (!sink(headBytes.data(), headBytes.size()) ||
            !sink(cell->thumbnail.bits, cell->thumbnail.imageBytes()))
            return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> formatThumbCache(const std::vector<ThumbCell>& cells) {
    ByteWriter out;
    writeCells(cells, [&out](const void* data, std::size_t size) {
        out.bytes(data, size);
        return true;
    });
    return out.take();
}

CacheSaveResult saveThumbCache(const std::string& folder, const std::vector<ThumbCell>& cells) {
    if (cells.empty()) return CacheSaveResult::NothingToSave;
    const std::string path = thumbCacheFilePath(folder);
    if (path.empty()) return CacheSaveResult::CannotWrite;

    // O_NONBLOCK: a FIFO in the cache file's place must not hold the window until a writer comes.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0) {
        struct stat st {};
        const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        uint8_t marker[2];
        const ssize_t got = regular ? ::pread(fd, marker, sizeof marker, 0) : -1;
        ::close(fd);
        // A FIFO or a device: not a file of ours, and nothing to replace.
        if (!regular) return CacheSaveResult::CannotWrite;
        if (got != 2 || ByteReader(marker, 2).u16() != kThumbCacheMarker)
            return CacheSaveResult::ForeignFile;
    } else if (errno != ENOENT) {
        // Read-only, a folder, a symbolic link: the user's file, not ours to replace.
        return CacheSaveResult::CannotWrite;
    }

    AtomicFile file;
    if (!file.open(path)) return CacheSaveResult::CannotWrite;
    const bool written = writeCells(
        cells, [&file](const void* data, std::size_t size) { return file.write(data, size); });
    if (!written || !file.commit()) return CacheSaveResult::CannotWrite;
    return CacheSaveResult::Saved;
}

}  // namespace pr
