// libFuzzer target: the IFF reader on arbitrary bytes. Seeds: fuzz/corpus/iff/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzReaderAlone(pr::iffCodec(), data, size);
}
