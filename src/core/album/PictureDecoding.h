#pragma once
// Decoding pictures on several cores. Only the decoding runs in parallel: each worker fills the
// result slot of the item it took, so the results come back in item order however the workers
// were scheduled, and the caller adds them (keys, messages, lists) one after another on its own
// thread exactly as a sequential loop would. Adding marked files and opening an album both go
// through forEachInParallel.
//
// OpenDib touches nothing but the picture it fills, so workers share no state beyond the index of
// the next item and the count of finished items.

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/imaging/ImageBuffer.h"

namespace pr {

// Called on the caller's thread about every `tickMs` milliseconds while the workers run, with the
// number of items finished so far, and once more with the total at the end. It may run an event
// loop: the workers go on meanwhile.
using DecodeTick = std::function<void(int done)>;

// Called on the worker's thread when work(i) threw (memory ran out in a reader, say), with what it
// threw; it may touch only what item i's work touches. The other items go on either way.
using ItemFailed = std::function<void(std::size_t index, const std::exception_ptr& error)>;

// Runs work(i) for every i below `count`, each exactly once, on `threads` threads (0 takes the
// machine's cores; never more threads than items). With one thread everything runs on the calling
// thread and `tick` follows every item. `work` must not touch what another item's work touches.
// An exception out of work(i) never ends the program: it goes to `failed` and counts as done.
void forEachInParallel(std::size_t count, unsigned threads,
                       const std::function<void(std::size_t)>& work, const DecodeTick& tick = {},
                       int tickMs = 30, const ItemFailed& failed = {});

// The German load message of a picture whose loading threw `error`.
std::string pictureLoadFailureText(const std::exception_ptr& error);

// One result per path, in path order; a failed file's slot has no pixels and carries the message
// (also when its decoding threw).
std::vector<ImageBuffer> decodePictureFiles(const std::vector<std::string>& paths,
                                            unsigned threads = 0, const DecodeTick& tick = {},
                                            int tickMs = 30);

}  // namespace pr
