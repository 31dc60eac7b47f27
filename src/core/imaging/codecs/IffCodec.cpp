#include "Codec.h"

namespace pr {

// Placeholder until the reader lands: recognises nothing.
const Codec& iffCodec() {
    static const Codec codec{"iff", [](const uint8_t*, size_t) { return false; },
                             [](const uint8_t*, size_t, const DecodeOptions&, ImageBuffer&) {
                                 return DecodeResult{ImageError::Unsupported, {}, 0, 0, 0};
                             }};
    return codec;
}

}  // namespace pr
