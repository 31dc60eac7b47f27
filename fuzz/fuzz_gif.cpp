// libFuzzer target: the GIF reader on arbitrary bytes. Seeds live in fuzz/corpus/gif/.
#include <cstddef>
#include <cstdint>

#include "imaging/codecs/Codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pr::ImageBuffer image;
    const pr::DecodeResult result = pr::gifCodec().decode(data, size, pr::DecodeOptions{}, image);
    // A success must hand back a whole picture; touching its corners catches a short buffer.
    if (result.ok() && image.valid()) {
        pr::getpixel(image, 0, 0);
        pr::getpixel(image, image.width() - 1, image.height() - 1);
    }
    pr::deldib(image);
    return 0;
}
