#pragma once
// The day a photograph was taken, as its EXIF data (tag 0x9003, DateTimeOriginal) says, for
// captions. Only the file's EXIF structure is read, never its pixels; every offset and count is
// checked against the bytes given, and anything odd gives "no date" rather than a guess.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pr {

// The date from a TIFF structure (byte order, 42, directories): a TIFF file itself, or the EXIF
// payload of a JPEG or PNG after its "Exif\0\0" prefix. Looks in the EXIF directory that the
// first directory points to (tag 0x8769), and in the first directory itself. "TT.MM.JJJJ", or
// empty when there is no valid date.
std::string exifDateFromTiff(const uint8_t* data, size_t size);

// The TIFF structure of a JPEG's EXIF segment (the first APP1 that starts with "Exif\0\0"),
// searched among the segments before the image data; null when there is none. `outSize` gets its
// length.
const uint8_t* jpegExifTiff(const uint8_t* data, size_t size, size_t& outSize);

// The TIFF structure of a PNG's eXIf chunk, searched before the image data; null when none.
const uint8_t* pngExifTiff(const uint8_t* data, size_t size, size_t& outSize);

// The date of a picture file's bytes (JPEG, PNG or TIFF; other formats hold no EXIF data).
std::string exifDateOfFile(const uint8_t* data, size_t size);

}  // namespace pr
