// libFuzzer target for the PNG reader: any input must give a picture or a message, never a crash,
// and a picture must be whole (every row addressable).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/RasterLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pr::Codec& codec = pr::pngCodec();
    if (!codec.sniff(data, size)) return 0;
    for (int reduced : {0, 80}) {
        pr::DecodeOptions options;
        options.maxWidth = options.maxHeight = reduced;
        pr::ImageBuffer img;
        const pr::DecodeResult r = pr::decodePicture(data, size, options, img);
        if (r.ok() != img.valid() || (!r.ok() && img.message.size() <= 5)) std::abort();
        if (img.valid()) {
            // Touch the first and the last byte of the rows so a short buffer shows up under ASan.
            volatile uint8_t sink = img.bits[0];
            sink = img.bits[img.imageBytes() - 1];
            (void)sink;
        }
        if (reduced == 0 && &codec != &pr::jpegCodec()) break;
    }
    return 0;
}
