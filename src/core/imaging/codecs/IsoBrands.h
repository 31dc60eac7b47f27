#pragma once
// HEIF and AVIF files are ISO base media files: they open with an "ftyp" box that lists brands.
// The brands, not the file name, say which reader takes the file.

#include <cstddef>
#include <cstdint>

namespace pr {

enum class IsoPictureKind { None, Heif, Avif };

// HEVC brands (heic, heix, hevc, ...) make a HEIF file even when AVIF brands are listed too,
// since the primary picture is then HEVC; AVIF brands (avif, avis) make an AVIF file; the bare
// image-file brands (mif1, msf1, mif2) go to the HEIF reader, whose library decodes several
// codecs. Anything else, MP4 video and camera raw files among it, is None.
IsoPictureKind isoPictureKind(const uint8_t* data, size_t size);

}  // namespace pr
