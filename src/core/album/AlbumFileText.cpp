#include "core/album/AlbumFileText.h"

#include <cstdint>

#include "core/browse/StoredText.h"

namespace pr {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t utf8SequenceAt(const std::string& s, std::size_t i) {
    const auto byte = [&s](std::size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t b = byte(i);
    if (b < 0x80) return 1;
    std::size_t len;
    uint32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const uint8_t c = byte(i + k);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string decodeAlbumText(const std::string& stored) {
    return decodeStoredText(stored);
}

std::string encodeAlbumText(const std::string& text) {
    std::string windows;
    if (!utf8ToWindows1252(text, windows) || (windows != text && isValidUtf8(windows))) return text;
    return windows;
}

std::string clipAlbumText(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t len = utf8SequenceAt(text, i);
        if (len == 0) len = 1;  // not UTF-8: any cut is as good as another
        if (i + len > maxBytes) break;
        i += len;
        end = i;
    }
    return text.substr(0, end);
}

AlbumPathParts splitAlbumPath(const std::string& path) {
    std::size_t cut = 0;  // length of the folder part
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparator(path[i - 1])) {
            cut = i;
            break;
        }
    }
    if (cut == 0 && path.size() >= 2 && path[1] == ':' && isAsciiLetter(path[0])) cut = 2;
    return {path.substr(0, cut), path.substr(cut)};
}

std::string albumFolderOf(const std::string& albumPath) {
    std::string folder = splitAlbumPath(albumPath).folder;
    if (!folder.empty() && !isSeparator(folder.back()) && folder.back() != ':') folder += '/';
    return folder;
}

std::string resolveStoredPath(const std::string& stored, const std::string& albumFolder) {
    if (stored.empty() || !splitAlbumPath(stored).folder.empty()) return stored;
    return albumFolder + stored;
}

}  // namespace pr
