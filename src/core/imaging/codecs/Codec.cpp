#include "core/imaging/codecs/Codec.h"

#include <cstdio>
#include <utility>

namespace pr {

void logLibraryMessage(const char* library, const char* text) {
    if (text && *text) std::fprintf(stderr, "Pixo-Rahmler: %s: %s\n", library, text);
}

DecodeResult decodeFailure(ImageError error, std::string detail) {
    DecodeResult result;
    result.error = error;
    result.detail = std::move(detail);
    return result;
}

DecodeResult decodedPicture(int width, int height, int bitCount, int rowsDecoded) {
    DecodeResult result;
    result.trueWidth = width;
    result.trueHeight = height;
    result.trueBitCount = bitCount;
    result.rowsDecoded = rowsDecoded;
    return result;
}

DecodeResult announcedPicture(PictureHeader& out, int64_t width, int64_t height, int bitCount,
                              uint64_t rowsAtMost) {
    out.width = width;
    out.height = height;
    out.bitCount = bitCount;
    out.rowsAtMost = rowsAtMost;
    return DecodeResult{};
}

uint64_t rowsAtDensity(uint64_t dataBytes, uint64_t densest, uint64_t rowBytes, uint64_t rows) {
    if (rowBytes == 0) return rows;
    // Past this the product could wrap; such a file holds every row anyway.
    if (densest != 0 && dataBytes > (uint64_t{1} << 62) / densest) return rows;
    const uint64_t filled = (dataBytes * densest + rowBytes - 1) / rowBytes;
    return filled < rows ? filled : rows;
}

uint64_t rowsOfCompressedPhoto(uint64_t fileBytes, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return 0;
    return rowsAtDensity(fileBytes, 1024, static_cast<uint64_t>(width),
                         static_cast<uint64_t>(height));
}

int lightestTableIndex(const ImageBuffer& img) {
    int best = 0, bestSum = -1;
    for (int i = 0; i < img.tableSize(); ++i) {
        const RgbQuad& q = img.info->colors[i];
        const int sum = q.red + q.green + q.blue;
        if (sum > bestSum) bestSum = sum, best = i;
    }
    return best;
}

uint8_t whiteFillByte(const ImageBuffer& img) {
    const uint8_t w = static_cast<uint8_t>(lightestTableIndex(img));
    switch (img.bitCount()) {
        case 1:
            return w ? 0xFF : 0x00;
        case 4:
            return static_cast<uint8_t>(w * 0x11);
        case 8:
            return w;
        default:
            return 0xFF;
    }
}

}  // namespace pr
