#include "core/browse/ExtensionTable.h"

#include <cstring>

#include "core/imaging/RasterLibrary.h"
#include "core/io/PathText.h"
#include "core/io/UpperText.h"

namespace pr {

namespace {

struct ExtensionCode {
    const char* extension;
    int code;
};

const ExtensionCode kTable[] = {
    {".BMP", kFormatBmp},   {".DIB", kFormatDib},   {".GIF", kFormatGif},  {".IFF", kFormatIff},
    {".JIF", kFormatJif},   {".JPG", kFormatJpg},   {".LBM", kFormatLbm},  {".PCX", kFormatPcx},
    {".RLE", kFormatRle},   {".TGA", kFormatTga},   {".TIF", kFormatTif},  {".PNG", kFormatPng},
    {".HEIC", kFormatHeif}, {".HEIF", kFormatHeif}, {".HIF", kFormatHeif}, {".AVIF", kFormatAvif},
    {".WEBP", kFormatWebp}, {".JXL", kFormatJxl},
};

}  // namespace

int formatCodeForFileName(const std::string& name) {
    const std::string extension = UpperText(fileExtension(name));
    for (const ExtensionCode& entry : kTable) {
        if (extension == entry.extension) return entry.code;
    }
    return kFormatAuto;
}

}  // namespace pr
