// libFuzzer target: the GIF reader on arbitrary bytes. Seeds: fuzz/corpus/gif/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzReaderAlone(pr::gifCodec(), data, size);
}
