#pragma once
// The raster library: opening picture files, halftoning for palette displays and the open-dialog
// filter. ImageBuffer.h has newdib, deldib, getpixel and setpixel.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/imaging/ImageBuffer.h"
#include "core/imaging/Progress.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {

// Format codes as the callers pass them. 0 lets the content decide; 3..18 name the file's
// extension and are only a hint: the content still decides, so a PNG named .jpg opens.
enum FormatCode : int {
    kFormatAuto = 0,
    kFormatBmp = 3,
    kFormatDib = 4,
    kFormatGif = 5,
    kFormatIff = 6,
    kFormatJif = 7,
    kFormatJpg = 8,
    kFormatLbm = 9,
    kFormatPcx = 10,
    kFormatRle = 11,
    kFormatTga = 12,
    kFormatTif = 13,
    kFormatPng = 14,
    kFormatHeif = 15,
    kFormatAvif = 16,
    kFormatWebp = 17,
    kFormatJxl = 18,
};

// Reads the picture file at `path` (UTF-8) into `out`. On failure `out.bits` is null and
// `out.message` holds a German text. `progress` (may be empty) is told 0 when done.
bool OpenDib(ImageBuffer& out, const std::string& path, int formatCode,
             const ProgressFn& progress = {});

// The same for a file already in memory; `options` may ask for a reduced-size decode, and the
// result reports the picture's own size and depth.
DecodeResult decodePicture(const uint8_t* data, size_t size, const DecodeOptions& options,
                           ImageBuffer& out);

// Reduced-size open for thumbnails: decodes so that the result is at least maxWidth x maxHeight
// where the format allows it (JPEG DCT scaling, WebP scaling, a HEIF file's embedded thumbnail),
// and reports the true size and bit count. With `judgeOnly` a reader that can judge the file from
// its first rows stops there (result.judgedOnly; `out` then holds no finished picture): the
// result is the one the whole decode would give.
DecodeResult OpenDibReduced(ImageBuffer& out, const std::string& path, int maxWidth, int maxHeight,
                            bool judgeOnly = false);

// The size and depth of the picture in a file (upright), from its header alone where the reader
// can tell it from there (JPEG: only the first few hundred kilobytes are read); other formats are
// decoded whole, and `decoded` (may be null) then receives the picture so that the caller need not
// read it again. Fails like OpenDib for a file it cannot read; the message is in result.detail
// turned into text by imageErrorText().
DecodeResult OpenDibInfo(const std::string& path, ImageBuffer* decoded);

// Open-dialog filter: "description|masks|description|masks..." for the readable extensions, each
// mask in lower and upper case; "Alle Bilddateien" first.
std::string GetDIBOpenFilter();

// 24-bit picture to an 8-bit picture with a fixed colour-cube-plus-greys palette, for displays of
// at most 256 colours. Same size, or resampled to width x height. Returns false on failure.
bool DIBHalftoneDIB(ImageBuffer& dest, const ImageBuffer& source);
bool DIBHalftoneDIBXY(ImageBuffer& dest, const ImageBuffer& source, int width, int height);

}  // namespace pr
