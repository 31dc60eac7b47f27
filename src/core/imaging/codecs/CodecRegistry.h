#pragma once

#include "core/imaging/codecs/Codec.h"

namespace pr {

// The reader that recognises the content, or null.
const Codec* findCodec(const uint8_t* data, size_t size);

}  // namespace pr
