// libFuzzer target: the TGA reader on arbitrary bytes. Seeds: fuzz/corpus/tga/.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return pr::fuzz::fuzzReaderAlone(pr::tgaCodec(), data, size);
}
