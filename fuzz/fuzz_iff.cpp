// libFuzzer target: the IFF reader on arbitrary bytes. Seeds: fuzz/corpus/iff/.
#include <cstddef>
#include <cstdint>

#include "imaging/codecs/Codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const pr::Codec& codec = pr::iffCodec();
    codec.sniff(data, size);
    pr::ImageBuffer image;
    const pr::DecodeResult result = codec.decode(data, size, pr::DecodeOptions{}, image);
    // Touch the first and last row so a wrong layout shows up under the address sanitizer.
    if (result.ok() && image.valid()) {
        volatile uint8_t sink = image.storedRow(0)[0];
        sink = image.storedRow(image.height() - 1)[image.rowBytes - 1];
        (void)sink;
    }
    return 0;
}
