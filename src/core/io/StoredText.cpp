#include "core/io/StoredText.h"

#include <algorithm>
#include <cstdint>

namespace pr {

std::size_t utf8SequenceLength(const char* data, std::size_t size, std::size_t i) {
    const auto* p = reinterpret_cast<const uint8_t*>(data);
    const uint8_t lead = p[i];
    if (lead < 0x80) return 1;
    std::size_t length;
    uint32_t min;
    uint32_t cp;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (size - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const uint8_t c = p[i + k];
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool isValidUtf8(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size;) {
        const std::size_t length = utf8SequenceLength(data, size, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the undefined ones, which map to U+0080 + n.
const uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string windows1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char ch : text) {
        const uint8_t b = static_cast<uint8_t>(ch);
        uint32_t cp = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) cp = kHighControls[b - 0x80];
        appendUtf8(out, cp);
    }
    return out;
}

std::string decodeStoredText(const std::string& stored) {
    if (isValidUtf8(stored)) return stored;
    return windows1252ToUtf8(stored);
}

bool utf8ToWindows1252(const std::string& utf8, std::string& out) {
    if (!isValidUtf8(utf8)) return false;
    out.clear();
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t cp = p[i];
        std::size_t length = 1;
        if (cp >= 0xF0) {
            cp = p[i] & 0x07, length = 4;
        } else if (cp >= 0xE0) {
            cp = p[i] & 0x0F, length = 3;
        } else if (cp >= 0xC0) {
            cp = p[i] & 0x1F, length = 2;
        }
        for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (p[i + k] & 0x3F);
        i += length;
        int byte = -1;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<int>(cp);
        } else if (cp >= 0x80 && cp <= 0x9F) {
            // Only the five undefined bytes come back as these control characters.
            if (kHighControls[cp - 0x80] == 0) byte = static_cast<int>(cp);
        } else {
            for (int n = 0; n < 32; ++n)
                if (kHighControls[n] == cp) byte = 0x80 + n;
        }
        if (byte < 0) return false;
        out += static_cast<char>(byte);
    }
    return true;
}

std::string encodeStoredText(const std::string& text) {
    std::string windows;
    if (!utf8ToWindows1252(text, windows) || (windows != text && isValidUtf8(windows))) return text;
    return windows;
}

std::string clipUtf8(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            std::max<std::size_t>(1, utf8SequenceLength(text.data(), text.size(), i));
        if (i + length > maxBytes) break;
        i += length;
        end = i;
    }
    return text.substr(0, end);
}

}  // namespace pr
