#include "core/imaging/codecs/Codec.h"

#include <utility>

namespace pr {

DecodeResult decodeFailure(ImageError error, std::string detail) {
    DecodeResult result;
    result.error = error;
    result.detail = std::move(detail);
    return result;
}

DecodeResult decodedPicture(int width, int height, int bitCount, bool complete) {
    DecodeResult result;
    result.trueWidth = width;
    result.trueHeight = height;
    result.trueBitCount = bitCount;
    if (!complete) result.detail = "unvollständig";
    return result;
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
