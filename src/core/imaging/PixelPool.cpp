#include "core/imaging/PixelPool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace pr {

namespace {

constexpr size_t kPage = 4096;

void unmap(PixelBlock* block) {
    if (block->mapped)
        ::munmap(block->data, block->capacity);
    else
        std::free(block->data);
    delete block;
}

}  // namespace

PixelPool& PixelPool::shared() {
    // Never destroyed: blocks held by other static objects may come back during exit.
    static PixelPool* const pool = new PixelPool;
    return *pool;
}

PixelPool::~PixelPool() {
    trimTo(0);
}

size_t PixelPool::classCapacity(size_t bytes) {
    if (bytes < kMappedMinimum) return bytes;
    size_t octave = kMappedMinimum;
    while (octave * 2 <= bytes) octave *= 2;
    // Quarter steps of the octave: the smallest of 1, 1.25, 1.5, 1.75, 2 times it that holds
    // `bytes`.
    size_t capacity = octave;
    while (capacity < bytes) capacity += octave / 4;
    return (capacity + kPage - 1) / kPage * kPage;
}

std::shared_ptr<PixelBlock> PixelPool::take(size_t bytes, bool zeroed) {
    if (bytes == 0) bytes = 1;
    PixelBlock* block = nullptr;
    if (bytes >= kMappedMinimum) {
        const size_t capacity = classCapacity(bytes);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            for (size_t i = free_.size(); i-- > 0;) {
                if (free_[i]->capacity != capacity) continue;
                block = free_[i];
                free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(i));
                kept_ -= capacity;
                ++reuses_;
                break;
            }
        }
        if (block) {
            if (zeroed) std::memset(block->data, 0, bytes);
        } else {
            void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                             -1, 0);
            if (p == MAP_FAILED) return nullptr;
            // A hint: a 36 MB picture then costs a few dozen page faults instead of thousands.
            ::madvise(p, capacity, MADV_HUGEPAGE);
            block = new PixelBlock{static_cast<uint8_t*>(p), capacity, true};
            const std::lock_guard<std::mutex> lock(mutex_);
            ++freshMappings_;
        }
    } else {
        void* p = zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
        if (!p) return nullptr;
        block = new PixelBlock{static_cast<uint8_t*>(p), bytes, false};
    }
    return std::shared_ptr<PixelBlock>(block, [this](PixelBlock* b) { giveBack(b); });
}

void PixelPool::giveBack(PixelBlock* block) {
    if (!block->mapped) {
        unmap(block);
        return;
    }
    size_t limit;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        free_.push_back(block);
        kept_ += block->capacity;
        if (kept_ <= keepLimit_) return;
        limit = keepLimit_;
    }
    trimTo(limit);
}

void PixelPool::trimTo(size_t limit) {
    std::vector<PixelBlock*> drop;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        // The oldest blocks go first; the recently returned are the likeliest to be asked for.
        size_t n = 0;
        while (n < free_.size() && kept_ > limit) kept_ -= free_[n++]->capacity;
        drop.assign(free_.begin(), free_.begin() + static_cast<std::ptrdiff_t>(n));
        free_.erase(free_.begin(), free_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    for (PixelBlock* b : drop) unmap(b);
}

void PixelPool::setKeepLimit(size_t bytes) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        keepLimit_ = bytes;
    }
    trimTo(bytes);
}

size_t PixelPool::keepLimit() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return keepLimit_;
}

size_t PixelPool::keptBytes() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return kept_;
}

uint64_t PixelPool::freshMappings() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return freshMappings_;
}

uint64_t PixelPool::reuses() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return reuses_;
}

}  // namespace pr
