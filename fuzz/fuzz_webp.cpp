// libFuzzer target for the WebP reader, read as OpenDib reads files. Seeds: fuzz/corpus/webp/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::webpCodec(), data, size, /*alsoReduced=*/true);
}
