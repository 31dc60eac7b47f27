// libFuzzer target for the AVIF reader, read as OpenDib reads files. Seeds: fuzz/corpus/avif/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::avifCodec(), data, size, /*alsoReduced=*/false);
}
