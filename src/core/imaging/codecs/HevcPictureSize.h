#pragma once
// The picture size an HEVC stream really codes, read from the sequence parameter set in its
// decoder configuration (the "hvcC" box of a HEIF file). A HEIF file announces its sizes
// separately ("ispe"); the HEVC decoder allocates by the parameter set.

#include <cstddef>
#include <cstdint>

namespace pr {

struct HevcSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// The coded size of the first sequence parameter set in the hvcC payload; false when there is
// none or it cannot be read.
bool hevcCodedSize(const uint8_t* hvcC, size_t size, HevcSize& out);

}  // namespace pr
