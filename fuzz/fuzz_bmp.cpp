// libFuzzer target for the BMP reader, read as OpenDib reads files. Seeds: fuzz/corpus/bmp/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::bmpCodec(), data, size, /*alsoReduced=*/false);
}
