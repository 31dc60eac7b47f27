// libFuzzer target for the JPEG XL reader, read as OpenDib reads files. Seeds: fuzz/corpus/jxl/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzThroughRegistry(pr::jxlCodec(), data, size, /*alsoReduced=*/false);
}
