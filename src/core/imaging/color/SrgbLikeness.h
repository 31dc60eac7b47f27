#pragma once
// Whether an ICC profile says nothing more than "sRGB": such pictures are left exactly as stored,
// since converting them would only add rounding.

#include <lcms2.h>

namespace pr {

// True for an RGB matrix/shaper profile whose colorants and tone curves match sRGB's closely
// enough that a conversion could not change any 8-bit value by more than rounding, and for a
// grey profile whose tone curve is sRGB's.
bool describesSrgb(cmsHPROFILE profile);

}  // namespace pr
