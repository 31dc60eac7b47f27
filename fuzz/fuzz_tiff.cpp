// libFuzzer target: the TIFF reader on arbitrary bytes. Seeds: fuzz/corpus/tiff/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzReaderAlone(pr::tiffCodec(), data, size);
}
