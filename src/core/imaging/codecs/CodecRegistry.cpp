#include "core/imaging/codecs/CodecRegistry.h"

namespace pr {

const Codec* findCodec(const uint8_t* data, size_t size) {
    // Strong signatures first: PNG, GIF, BMP ("BM"), TIFF ("II*\0"/"MM\0*"), IFF ("FORM"), JPEG
    // (FF D8 FF), HEIF and AVIF (an "ftyp" box whose brands decide between the two), WebP
    // ("RIFF" and "WEBP") and JPEG XL (FF 0A, or its container's 12-byte signature) each start
    // with a fixed magic that other formats do not produce. PCX has only a
    // one-byte manufacturer mark plus plausible header fields, and TGA has no magic at all, so they
    // come last, PCX before TGA because its test is the stricter one: a TGA header can happen to
    // look like anything, but a PCX header must start with 0x0A.
    static const Codec* const order[] = {&pngCodec(),  &gifCodec(),  &bmpCodec(),  &tiffCodec(),
                                         &iffCodec(),  &jpegCodec(), &heifCodec(), &avifCodec(),
                                         &webpCodec(), &jxlCodec(),  &pcxCodec(),  &tgaCodec()};
    if (!data || size == 0) return nullptr;
    for (const Codec* codec : order)
        if (codec->sniff(data, size)) return codec;
    return nullptr;
}

}  // namespace pr
