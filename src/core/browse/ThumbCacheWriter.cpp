#include "core/browse/ThumbCacheWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <functional>

#include "core/browse/LittleEndian.h"
#include "core/browse/ThumbCacheFormat.h"
#include "core/io/AtomicFile.h"

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

void storeBitmapHeader(const BitmapInfoHeader& h, uint32_t imageBytes, uint8_t out[40]) {
    putLE32(out + 0, 40);
    putLE32(out + 4, static_cast<uint32_t>(h.biWidth));
    putLE32(out + 8, static_cast<uint32_t>(h.biHeight));
    putLE16(out + 12, 1);
    putLE16(out + 14, h.biBitCount);
    putLE32(out + 16, 0);
    putLE32(out + 20, imageBytes);
    putLE32(out + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    putLE32(out + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    putLE32(out + 32, h.biClrUsed);
    putLE32(out + 36, h.biClrImportant);
}

bool writeCells(const std::vector<ThumbCell>& cells, const Sink& sink) {
    std::vector<const ThumbCell*> kept;
    for (const ThumbCell& cell : cells) {
        if (kept.size() >= static_cast<std::size_t>(kMaxThumbCacheEntries)) break;
        if (storable(cell)) kept.push_back(&cell);
    }
    uint8_t head[kThumbCacheHeaderBytes];
    putLE16(head, kThumbCacheMarker);
    putLE32(head + 2, static_cast<uint32_t>(kept.size()));
    if (!sink(head, sizeof head)) return false;

    for (const ThumbCell* cell : kept) {
        uint8_t entry[kThumbCacheEntryHeadBytes + kBitmapHeaderBytes + 256 * 4] = {};
        std::memcpy(entry, cell->name.data(), cell->name.size());
        storeThumbInfo(cell->info, entry + kThumbCacheNameBytes);
        const uint32_t tableBytes = colorTableBytes(cell->info.colorCount);
        const auto imageBytes = static_cast<uint32_t>(cell->thumbnail.imageBytes());
        putLE32(entry + kThumbCacheEntryHeadBytes - 4,
                kBitmapHeaderBytes + tableBytes + imageBytes);
        uint8_t* data = entry + kThumbCacheEntryHeadBytes;
        storeBitmapHeader(cell->thumbnail.info->header, imageBytes, data);
        for (uint32_t i = 0; i < tableBytes / 4; ++i) {
            const RgbQuad& q = cell->thumbnail.info->colors[i];
            data[kBitmapHeaderBytes + 4 * i + 0] = q.blue;
            data[kBitmapHeaderBytes + 4 * i + 1] = q.green;
            data[kBitmapHeaderBytes + 4 * i + 2] = q.red;
            data[kBitmapHeaderBytes + 4 * i + 3] = 0;
        }
        if (!sink(entry, kThumbCacheEntryHeadBytes + kBitmapHeaderBytes + tableBytes) ||
            !sink(cell->thumbnail.bits, imageBytes))
            return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> formatThumbCache(const std::vector<ThumbCell>& cells) {
    std::vector<uint8_t> out;
    writeCells(cells, [&out](const void* data, std::size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        out.insert(out.end(), p, p + size);
        return true;
    });
    return out;
}

CacheSaveResult saveThumbCache(const std::string& folder, const std::vector<ThumbCell>& cells) {
    if (cells.empty()) return CacheSaveResult::NothingToSave;
    const std::string path = thumbCacheFilePath(folder);
    if (path.empty()) return CacheSaveResult::CannotWrite;

    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        uint8_t marker[2];
        const ssize_t got = ::read(fd, marker, sizeof marker);
        ::close(fd);
        if (got != 2 || getLE16(marker) != kThumbCacheMarker) return CacheSaveResult::ForeignFile;
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
