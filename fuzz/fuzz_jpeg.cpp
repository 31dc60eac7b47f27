// libFuzzer target for the JPEG reader, read as OpenDib reads files. Seeds: fuzz/corpus/jpeg/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::jpegCodec(), data, size, /*alsoReduced=*/true);
}
