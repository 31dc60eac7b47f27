#include "core/browse/ThumbInfo.h"

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

void storeThumbInfo(const ThumbInfo& info, ByteWriter& out) {
    const int32_t fields[8] = {info.bitCount,     info.thumbWidth,    info.thumbHeight,
                               info.pictureWidth, info.pictureHeight, info.colorCount,
                               info.kiloBytes,    info.check};
    for (const int32_t field : fields) out.i32(field);
}

ThumbInfo loadThumbInfo(ByteReader& in) {
    ThumbInfo info;
    int32_t* fields[8] = {&info.bitCount,     &info.thumbWidth,    &info.thumbHeight,
                          &info.pictureWidth, &info.pictureHeight, &info.colorCount,
                          &info.kiloBytes,    &info.check};
    for (int32_t* field : fields) *field = in.i32();
    return info;
}

}  // namespace pr
