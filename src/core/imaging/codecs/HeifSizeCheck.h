#pragma once
// Whether a HEIF file's pictures hold no more pixels than the file announces. libheif (1.15)
// allocates by sizes it does not hold against the announced ones: a grid or overlay by its own
// output size, an HEVC picture by its sequence parameter set. A damaged file of a kilobyte can so
// make it allocate gigabytes before anything fails; this check runs before libheif decodes.

#include <cstddef>
#include <cstdint>

namespace pr {

// False when some item's data reaches beyond the box or file that holds it (libheif 1.15 reads
// on into whatever follows "idat"), when the output size of an item's grid or overlay description
// is larger than the item's announced size (ispe), or when the picture its HEVC configuration
// (hvcC) codes is larger than the announced size rounded up to whole 64-pixel coding blocks.
// Items that lack the announcement, and boxes that cannot be followed, pass: libheif judges those
// itself. Parameter sets sent inside the picture data instead of the configuration are not looked
// at.
bool heifSizesFit(const uint8_t* data, size_t size);

}  // namespace pr
