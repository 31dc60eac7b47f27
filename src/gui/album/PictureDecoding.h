#pragma once
// Decoding a batch of picture files on several cores. Only the decoding runs in parallel: each
// worker fills the result slot of the file it took, so the results come back in the order of the
// paths however the workers were scheduled, and the caller adds them (keys, messages, lists) one
// after another on its own thread exactly as a sequential loop would.
//
// OpenDib touches nothing but the picture it fills, so workers share no state beyond the index of
// the next file and the count of finished files.

#include <functional>
#include <string>
#include <vector>

#include "imaging/ImageBuffer.h"

namespace pr {

// Called on the caller's thread about every `tickMs` milliseconds while the workers run, with the
// number of files finished so far, and once more with the total at the end.
using DecodeTick = std::function<void(int done)>;

// One result per path, in path order; a failed file's slot has no pixels and carries the message.
// `threads` 0 takes the machine's cores; a single file is decoded on the calling thread.
std::vector<ImageBuffer> decodePictureFiles(const std::vector<std::string>& paths,
                                            unsigned threads = 0, const DecodeTick& tick = {},
                                            int tickMs = 30);

}  // namespace pr
