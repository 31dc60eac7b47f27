#pragma once
// An ICC profile made from colour primaries and transfer characteristics as ITU-T H.273 numbers
// them: what HEIF and AVIF files declare in an "nclx" colour box instead of an ICC profile.

#include <lcms2.h>

namespace pr {

enum class CodePointMeaning {
    Srgb,         // sRGB, or close enough that it is treated as sRGB
    Profile,      // the profile made describes another space
    Unsupported,  // high dynamic range, or numbers this program does not know
};

// Makes an RGB profile (or a grey one when `grey`) for the code points into `out` when the
// meaning is Profile; the caller closes it. The BT.709 family of transfer curves is taken as
// sRGB's, as displays and browsers show such pictures.
CodePointMeaning profileForCodePoints(int primaries, int transfer, bool grey, cmsHPROFILE& out);

}  // namespace pr
