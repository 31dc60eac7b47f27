#include "core/imaging/codecs/CodecRegistry.h"

namespace pr {

const Codec* findCodec(const uint8_t* data, size_t size) {
    // Strong signatures first: PNG, GIF, BMP ("BM"), TIFF ("II*\0"/"MM\0*"), IFF ("FORM") and JPEG
    // (FF D8 FF) each start with a fixed magic that other formats do not produce. PCX has only a
    // one-byte manufacturer mark plus plausible header fields, and TGA has no magic at all, so they
    // come last, PCX before TGA because its test is the stricter one: a TGA header can happen to
    // look like anything, but a PCX header must start with 0x0A.
    static const Codec* const order[] = {&pngCodec(), &gifCodec(),  &bmpCodec(), &tiffCodec(),
                                         &iffCodec(), &jpegCodec(), &pcxCodec(), &tgaCodec()};
    if (!data || size == 0) return nullptr;
    for (const Codec* codec : order)
        if (codec->sniff(data, size)) return codec;
    return nullptr;
}

}  // namespace pr
