#pragma once
// Replacing an album file so that it is either the old file or the whole new one. The bytes go to
// a temporary file in the same folder (a rename never crosses file systems there), are flushed to
// the disk, and only then renamed over the target. Any failure removes the temporary file and
// leaves the old file untouched.

#include <cstdint>
#include <string>
#include <vector>

namespace pr {

// True only when every byte reached the disk and the rename succeeded. A target that is a symbolic
// link is replaced where the link points, so the link stays. An existing target keeps its
// permission bits; a new one gets the usual 0666 less the umask.
bool replaceFileAtomically(const std::string& targetPath, const std::vector<uint8_t>& bytes);

}  // namespace pr
