// libFuzzer target for the PNG reader, read as OpenDib reads files. Seeds: fuzz/corpus/png/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::pngCodec(), data, size, /*alsoReduced=*/false);
}
