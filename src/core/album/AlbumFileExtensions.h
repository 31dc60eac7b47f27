#pragma once
// Extension blocks: what a 4.0 album file keeps beyond the fields of its layout, after the last
// picture entry. A reader of 4.0 files reads exactly P picture entries and stops (the Windows
// program, and this one before blocks existed), so such a reader opens the file as before and
// simply does not see the blocks; saving from it drops them.
//
// Each block is an 8-byte signature whose first four bytes are "PXR-" for every block, a uint32
// length L (little-endian) and L bytes. Blocks follow each other up to the end of the file.
//
// The adjustments block, signature "PXR-ADJS":
//   int32 version (1), int32 E, then E entries of
//     int32 picture index (place in the file's picture list, from 0),
//     int32 that picture's key,
//     int32 A, then A adjustments of int32 brightness, contrast, saturation, oldest first.
// Only pictures with adjustments get an entry, and an album without any writes no block, so its
// file is byte for byte what it always was.
//
// The whole list is kept, not one triple: each adjustment clamps, so two in a row are in general
// not one adjustment, and only the list gives back the pixels that were seen. Pictures are named
// by their place in the list rather than by key or path: keys of a damaged or hand-made file may
// repeat, and a picture added twice has one path twice. The key beside the index guards against a
// tool that changes the picture list but copies the bytes after it.
//
// Reading (the bytes are untrusted):
//  - Bytes that do not start with "PXR-" end the blocks and are ignored, as bytes after the last
//    entry always were.
//  - A block whose header or declared length runs past the end of the file refuses the file: it
//    was cut short, and so was what it holds. So does a file ending in a piece of "PXR-".
//  - A block of another kind, or an adjustments block of another version, is passed over.
//  - In the adjustments block every count is checked against the bytes left in the block before
//    anything is allocated; a block whose counts do not fit is ignored as a whole, leaving the
//    pictures as their files hold them. An entry is passed over when its index names no picture,
//    its key is not that picture's, its index came before, or it holds more than
//    kMaxStoredAdjustments. Values beyond the sliders' ranges are taken as the nearest end, which
//    is what the adjustments themselves do with them. Only the first adjustments block of version
//    1 counts (a later writer may add one of its own version beside it).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/album/AlbumFileFormat.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"

namespace pr {

constexpr std::size_t kExtensionSignatureSize = 8;
constexpr char kExtensionFamily[] = "PXR-";
constexpr char kAdjustmentsSignature[] = "PXR-ADJS";
static_assert(sizeof(kAdjustmentsSignature) == kExtensionSignatureSize + 1, "8-byte signature");
constexpr int32_t kAdjustmentsVersion = 1;
// No one confirms the dialog this often; the cap keeps a damaged file from making every drawing
// of a picture compose millions of tables.
constexpr int32_t kMaxStoredAdjustments = 10000;

enum class ExtensionsRead {
    Done,      // read (or passed over) up to the end
    CutShort,  // a block runs past the end of the bytes given
};

// Reads the blocks from `in`, which stands after the last picture entry, into `pictures` (the
// file's picture list). `wholeFile` says whether `in` ends where the file ends; when it does not,
// bytes too few to tell what follows also give CutShort, so the caller reads more and tries again.
ExtensionsRead readAlbumExtensions(ByteReader& in, bool wholeFile,
                                   std::vector<StoredPicture>& pictures);

// Appends the blocks for `pictures` (nothing when no picture has adjustments).
void writeAlbumExtensions(ByteWriter& out, const std::vector<StoredPicture>& pictures);

}  // namespace pr
