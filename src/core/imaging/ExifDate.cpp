#include "core/imaging/ExifDate.h"

#include <cstring>

#include "core/io/ByteReader.h"

namespace pr {

namespace {

constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTypeAscii = 2, kTypeLong = 4, kTypeIfd = 13;
// "JJJJ:MM:TT hh:mm:ss": only the date part is used.
constexpr size_t kDateChars = 10;
// A directory of more entries than this is damage, not a camera's data.
constexpr uint32_t kMaxEntries = 1000;

bool digits(const char* s, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// "2023:07:14 ..." -> "14.07.2023"; empty for blanks, zeros and anything that is no date.
std::string formatDate(const char* s) {
    if (!digits(s, 4) || s[4] != ':' || !digits(s + 5, 2) || s[7] != ':' || !digits(s + 8, 2))
        return {};
    const int month = (s[5] - '0') * 10 + (s[6] - '0');
    const int day = (s[8] - '0') * 10 + (s[9] - '0');
    if (month < 1 || month > 12 || day < 1 || day > 31 || std::memcmp(s, "0000", 4) == 0) return {};
    return std::string(s + 8, 2) + "." + std::string(s + 5, 2) + "." + std::string(s, 4);
}

struct Found {
    bool present = false;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t value = 0;  // the field as a LONG (an offset or a number)
    size_t valueAt = 0;  // where the 4-byte field itself lies
};

Found findTag(const uint8_t* data, size_t size, ByteOrder order, uint32_t directory,
              uint16_t wanted) {
    Found f;
    ByteReader r(data, size, order);
    if (directory < 8 || !r.seek(directory)) return f;
    const uint32_t entries = r.u16();
    if (!r.ok() || entries > kMaxEntries) return f;
    for (uint32_t i = 0; i < entries && r.remaining() >= 12; ++i) {
        const uint16_t tag = r.u16(), type = r.u16();
        const uint32_t count = r.u32();
        const size_t at = r.position();
        const uint32_t value = r.u32();
        if (tag != wanted) continue;
        f.present = true;
        f.type = type;
        f.count = count;
        f.value = value;
        f.valueAt = at;
        return f;
    }
    return f;
}

std::string dateFrom(const uint8_t* data, size_t size, const Found& f) {
    if (!f.present || f.type != kTypeAscii || f.count < kDateChars) return {};
    // Up to four characters sit in the field itself; a date never fits, so it is an offset.
    const size_t at = f.count <= 4 ? f.valueAt : f.value;
    if (at > size || size - at < kDateChars) return {};
    char text[kDateChars];
    std::memcpy(text, data + at, kDateChars);
    return formatDate(text);
}

}  // namespace

std::string exifDateFromTiff(const uint8_t* data, size_t size) {
    if (!data || size < 8) return {};
    ByteOrder order;
    if (data[0] == 'I' && data[1] == 'I')
        order = ByteOrder::Little;
    else if (data[0] == 'M' && data[1] == 'M')
        order = ByteOrder::Big;
    else
        return {};
    ByteReader head(data, size, order);
    head.skip(2);
    if (head.u16() != 42) return {};
    const uint32_t first = head.u32();
    const Found exif = findTag(data, size, order, first, kTagExifDirectory);
    if (exif.present && (exif.type == kTypeLong || exif.type == kTypeIfd) && exif.value != first) {
        const std::string date =
            dateFrom(data, size, findTag(data, size, order, exif.value, kTagDateTimeOriginal));
        if (!date.empty()) return date;
    }
    return dateFrom(data, size, findTag(data, size, order, first, kTagDateTimeOriginal));
}

const uint8_t* jpegExifTiff(const uint8_t* data, size_t size, size_t& outSize) {
    static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    outSize = 0;
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return nullptr;
    size_t p = 2;
    while (p + 4 <= size) {
        if (data[p] != 0xFF) return nullptr;
        const uint8_t marker = data[p + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++p;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return nullptr;  // image data or end: no EXIF
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            p += 2;
            continue;
        }
        const size_t length = (static_cast<size_t>(data[p + 2]) << 8) | data[p + 3];
        if (length < 2 || length - 2 > size - (p + 4)) return nullptr;
        const uint8_t* payload = data + p + 4;
        const size_t payloadSize = length - 2;
        if (marker == 0xE1 && payloadSize > sizeof kExif &&
            std::memcmp(payload, kExif, sizeof kExif) == 0) {
            outSize = payloadSize - sizeof kExif;
            return payload + sizeof kExif;
        }
        p += 2 + length;
    }
    return nullptr;
}

const uint8_t* pngExifTiff(const uint8_t* data, size_t size, size_t& outSize) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    outSize = 0;
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) return nullptr;
    size_t p = 8;
    while (size - p >= 12) {
        const size_t length = (static_cast<size_t>(data[p]) << 24) |
                              (static_cast<size_t>(data[p + 1]) << 16) |
                              (static_cast<size_t>(data[p + 2]) << 8) | data[p + 3];
        const uint8_t* type = data + p + 4;
        if (length > size - p - 12) return nullptr;
        if (std::memcmp(type, "eXIf", 4) == 0) {
            outSize = length;
            return data + p + 8;
        }
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) return nullptr;
        p += 12 + length;
    }
    return nullptr;
}

std::string exifDateOfFile(const uint8_t* data, size_t size) {
    size_t tiffSize = 0;
    if (const uint8_t* tiff = jpegExifTiff(data, size, tiffSize))
        return exifDateFromTiff(tiff, tiffSize);
    if (const uint8_t* tiff = pngExifTiff(data, size, tiffSize))
        return exifDateFromTiff(tiff, tiffSize);
    return exifDateFromTiff(data, size);
}

}  // namespace pr
