// libFuzzer target for the HEIF/HEIC reader, read as OpenDib reads files. Seeds: fuzz/corpus/heif/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::heifCodec(), data, size, /*alsoReduced=*/true);
}
