#include "core/browse/ThumbInfo.h"

#include "core/browse/LittleEndian.h"

namespace pr {

int32_t colorCountForBits(int bitCount) {
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 24:
            return int32_t{1} << bitCount;
        default:
            return 0;
    }
}

ThumbInfo makeThumbInfo(int bitCount, int thumbWidth, int thumbHeight, int pictureWidth,
                        int pictureHeight, uint64_t pictureImageBytes, int32_t check) {
    ThumbInfo info;
    info.bitCount = bitCount;
    info.thumbWidth = thumbWidth;
    info.thumbHeight = thumbHeight;
    info.pictureWidth = pictureWidth;
    info.pictureHeight = pictureHeight;
    info.colorCount = colorCountForBits(bitCount);
    // Pictures are capped at 1 GiB, so the kilobytes always fit; the clamp only guards the type.
    const uint64_t kb = pictureImageBytes >> 10;
    info.kiloBytes = kb > INT32_MAX ? INT32_MAX : static_cast<int32_t>(kb);
    info.check = check;
    return info;
}

void storeThumbInfo(const ThumbInfo& info, uint8_t out[kThumbInfoBytes]) {
    const int32_t fields[8] = {info.bitCount,     info.thumbWidth,    info.thumbHeight,
                               info.pictureWidth, info.pictureHeight, info.colorCount,
                               info.kiloBytes,    info.check};
    for (int i = 0; i < 8; ++i) putLE32(out + 4 * i, static_cast<uint32_t>(fields[i]));
}

ThumbInfo loadThumbInfo(const uint8_t in[kThumbInfoBytes]) {
    ThumbInfo info;
    int32_t* fields[8] = {&info.bitCount,     &info.thumbWidth,    &info.thumbHeight,
                          &info.pictureWidth, &info.pictureHeight, &info.colorCount,
                          &info.kiloBytes,    &info.check};
    for (int i = 0; i < 8; ++i) *fields[i] = static_cast<int32_t>(getLE32(in + 4 * i));
    return info;
}

}  // namespace pr
