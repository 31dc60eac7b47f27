#include "core/album/TDynaArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace pr {

namespace {
void* zeroedBlock(std::size_t bytes) {
    return std::calloc(bytes, 1);
}
}  // namespace

TDynaArray::~TDynaArray() {
    std::free(Block);
    Block = nullptr;
    Current = nullptr;
    Cursor = -1;
    // The mirror is left alone: the owner may already be half destroyed.
}

void TDynaArray::setAllocator(ZeroAllocator allocator) {
    allocator_ = std::move(allocator);
}

uint64_t TDynaArray::capacityFor(uint32_t n) const {
    const uint32_t last = n - 1u;  // wraps to 0xFFFFFFFF for n = 0, as the sizing rule demands
    const uint64_t records = (static_cast<uint64_t>(last / GrowthRecords) + 1) * GrowthRecords;
    return records * static_cast<uint64_t>(RecordSize > 0 ? RecordSize : 0);
}

void TDynaArray::setCurrent(uint8_t* p) {
    Current = p;
    if (mirrorWrite_) mirrorWrite_(mirrorAddr_, p);
}

uint8_t* TDynaArray::allocate(uint64_t bytes, int code) {
    // AllocatedBytes is 32-bit; a block it cannot describe is as unavailable as one malloc refuses.
    void* p = nullptr;
    if (bytes > 0 && bytes <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        p = allocator_ ? allocator_(static_cast<std::size_t>(bytes))
                       : zeroedBlock(static_cast<std::size_t>(bytes));
    }
    if (!p && onMessage_) {
        onMessage_("Error " + std::to_string(code) + " while trying to allocate " +
                   std::to_string(bytes) + " bytes of RAM. Not enough memory.");
    }
    return static_cast<uint8_t*>(p);
}

uint8_t* TDynaArray::Select(int32_t i) {
    Cursor = i;
    setCurrent(Block + static_cast<std::ptrdiff_t>(i) * RecordSize);
    return Current;
}

uint8_t* TDynaArray::Append() {
    const uint32_t newCount = Count + 1;
    const uint64_t capacity = capacityFor(newCount);
    if (capacity != static_cast<uint64_t>(AllocatedBytes) || !Block) {
        const bool first = newCount == 1 || !Block;
        uint8_t* fresh = allocate(capacity, first ? 1 : 2);
        if (!fresh) return nullptr;
        if (!first) {
            const uint64_t keep =
                std::min<uint64_t>(capacity, static_cast<uint64_t>(AllocatedBytes));
            std::memcpy(fresh, Block, static_cast<std::size_t>(keep));
        }
        std::free(Block);
        Block = fresh;
        AllocatedBytes = static_cast<int32_t>(capacity);
    }
    Count = newCount;
    uint8_t* record = Block + static_cast<std::size_t>(Count - 1) * RecordSize;
    // A reused slot still holds the bytes of the record that was deleted from it.
    std::memset(record, 0, static_cast<std::size_t>(RecordSize));
    Cursor = static_cast<int32_t>(Count - 1);
    setCurrent(record);
    return record;
}

bool TDynaArray::Delete(int32_t i) {
    if (i < 0 || static_cast<int64_t>(i) > static_cast<int64_t>(Count) - 1) return true;
    const uint32_t newCount = Count - 1;
    const uint64_t capacity = capacityFor(newCount);
    const bool shrink = newCount > 0 && capacity != static_cast<uint64_t>(AllocatedBytes);
    // Allocate before anything moves, so a failure leaves the array as it was.
    uint8_t* fresh = nullptr;
    if (shrink) {
        fresh = allocate(capacity, 3);
        if (!fresh) return false;
    }
    const std::size_t rs = static_cast<std::size_t>(RecordSize);
    for (uint32_t k = static_cast<uint32_t>(i); k + 1 < Count; ++k) {
        std::memcpy(Block + k * rs, Block + (k + 1) * rs, rs);
    }
    Count = newCount;
    if (Count == 0) {
        std::free(Block);
        Block = nullptr;
        // Nothing is held; the next Append sees Count 1 and allocates afresh either way.
        AllocatedBytes = 0;
    } else if (shrink) {
        std::memcpy(fresh, Block, static_cast<std::size_t>(capacity));
        std::free(Block);
        Block = fresh;
        AllocatedBytes = static_cast<int32_t>(capacity);
    }
    Cursor = -1;
    setCurrent(nullptr);
    return true;
}

void TDynaArray::Clear() {
    Count = 0;
    std::free(Block);
    Block = nullptr;
    AllocatedBytes = 0;
    Cursor = -1;
    setCurrent(nullptr);
}

void TDynaArray::Exchange(int32_t a, int32_t b) {
    const int64_t last = static_cast<int64_t>(Count) - 1;
    if (a < 0 || b < 0 || a > last || b > last) return;
    const std::size_t rs = static_cast<std::size_t>(RecordSize);
    uint8_t* ra = Block + static_cast<std::size_t>(a) * rs;
    uint8_t* rb = Block + static_cast<std::size_t>(b) * rs;
    if (ra != rb) std::swap_ranges(ra, ra + rs, rb);
    Cursor = b;
    setCurrent(rb);
}

void TDynaArray::First() {
    if (Count == 0) return;
    Cursor = 0;
    setCurrent(Block);
}

bool TDynaArray::Next() {
    if (Count == 0 || Cursor < 0 || static_cast<int64_t>(Cursor) > static_cast<int64_t>(Count) - 1)
        return false;
    setCurrent(Block + static_cast<std::size_t>(Cursor) * RecordSize);
    ++Cursor;
    return true;
}

}  // namespace pr
