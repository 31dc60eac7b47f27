// libFuzzer target: the PCX reader on arbitrary bytes. Seeds: fuzz/corpus/pcx/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzReaderAlone(pr::pcxCodec(), data, size);
}
