#pragma once
// PixelPool: memory for pixel rows, handed back for reuse when a picture or rendition lets go.
//
// Printing an album makes and drops a few megabytes of pixels per placement. Mapping fresh pages
// for each costs the kernel a page fault and a cleared page per 4 KiB, which was a third of the
// time of printing; a block that was used before is already mapped. Blocks of 1 MiB and more come
// from their own mapping in size classes of a quarter octave (1, 1.25, 1.5, 1.75 times a power of
// two), so a freed block fits the next request of about its size; up to keepLimit() bytes of
// freed blocks are kept, the rest goes back to the system at once. Smaller blocks use the heap,
// which reuses them anyway.
//
// Thread-safe: decoding workers and the window thread take and return blocks at the same time.
// The shared pool lives for the whole process (blocks may be released by static destructors).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace pr {

class PixelPool;

// One block of pixel memory; returned to its pool when the last shared_ptr lets go.
struct PixelBlock {
    uint8_t* data = nullptr;
    size_t capacity = 0;  // usable bytes, at least the size asked for
    bool mapped = false;  // an mmap of `capacity` bytes (else heap memory)
};

class PixelPool {
public:
    static constexpr size_t kMappedMinimum = size_t{1} << 20;
    static constexpr size_t kDefaultKeepLimit = size_t{48} << 20;

    static PixelPool& shared();

    PixelPool() = default;
    ~PixelPool();
    PixelPool(const PixelPool&) = delete;
    PixelPool& operator=(const PixelPool&) = delete;

    // A block of at least `bytes` (at least one byte), its first `bytes` bytes zero when `zeroed`
    // (a fresh mapping is zero anyway; a reused block is cleared). Null when memory ran out.
    std::shared_ptr<PixelBlock> take(size_t bytes, bool zeroed);

    void setKeepLimit(size_t bytes);
    size_t keepLimit() const;
    size_t keptBytes() const;  // freed blocks waiting for reuse
    // Counters for tests and benchmarks: mappings made, and requests served by a kept block.
    uint64_t freshMappings() const;
    uint64_t reuses() const;

    // The mapped size class of a request of `bytes` (exposed for tests).
    static size_t classCapacity(size_t bytes);

private:
    void giveBack(PixelBlock* block);
    void trimTo(size_t limit);

    mutable std::mutex mutex_;
    std::vector<PixelBlock*> free_;  // kept blocks, most recently returned last
    size_t kept_ = 0;
    size_t keepLimit_ = kDefaultKeepLimit;
    uint64_t freshMappings_ = 0;
    uint64_t reuses_ = 0;
};

}  // namespace pr
