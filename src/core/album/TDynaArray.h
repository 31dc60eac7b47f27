#pragma once
// TDynaArray: an ordered array of fixed-size records in one zero-initialised block. The album keeps
// its placements here; array order is drawing order, so the last record is in front.
//
// Contract:
//  - Records are raw bytes of `RecordSize` each. Callers make a record current (Select, Append,
//    First/Next) and then work through the pointer it returns or through the owner's mirror
//    variable, which is rewritten whenever Current changes.
//  - Storage grows and shrinks in steps of GrowthRecords (100) records. Any pointer to a record is
//    invalidated by Append, Delete, Clear and by destruction.
//  - A new record is all zero bytes, also when it reuses a slot of an earlier, deleted record.
//  - When a block cannot be allocated, the fixed English text ("Error n while trying to
//    allocate ...") goes to the message handler and the array is left exactly as it was before the
//    call. The handler is the owner's business; core shows no boxes.
//  - Not thread-safe; the album lives on the window thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

namespace pr {

class TDynaArray {
public:
    using MessageHandler = std::function<void(const std::string&)>;
    // Returns a zeroed block of the given size that std::free releases, or null. Replaceable so
    // tests can run out of memory on purpose.
    using ZeroAllocator = std::function<void*(std::size_t)>;

    static constexpr uint32_t kGrowthRecords = 100;

    // The mirror may be null. It must outlive every call that changes Current.
    template <class T>
    TDynaArray(int32_t recordSize, T** mirror)
        : RecordSize(recordSize),
          mirrorAddr_(mirror),
          mirrorWrite_(mirror ? &writeMirror<T> : nullptr) {}
    explicit TDynaArray(int32_t recordSize) : RecordSize(recordSize) {}
    ~TDynaArray();

    TDynaArray(const TDynaArray&) = delete;
    TDynaArray& operator=(const TDynaArray&) = delete;

    void setMessageHandler(MessageHandler handler) { onMessage_ = std::move(handler); }
    void setAllocator(ZeroAllocator allocator);

    // No bounds check: callers pass 0 <= i < Count.
    uint8_t* Select(int32_t i);
    // Adds one zeroed record at the end and makes it current; null when memory ran out.
    uint8_t* Append();
    // Out-of-range indices change nothing. Returns false only when shrinking the block failed
    // (the array is then unchanged).
    bool Delete(int32_t i);
    void Clear();
    void Exchange(int32_t a, int32_t b);
    void First();
    bool Next();

    uint8_t* current() const { return Current; }
    uint32_t count() const { return Count; }
    int32_t cursor() const { return Cursor; }
    int32_t allocatedBytes() const { return AllocatedBytes; }
    int32_t recordSize() const { return RecordSize; }
    const uint8_t* block() const { return Block; }

    // Typed view of record i (0 <= i < Count), for records that are a trivially copyable struct of
    // exactly RecordSize bytes.
    template <class T>
    T* at(uint32_t i) const {
        static_assert(std::is_trivially_copyable<T>::value, "records are moved as bytes");
        return reinterpret_cast<T*>(Block + static_cast<std::size_t>(i) * RecordSize);
    }

    // Bytes of storage for n records: ((n - 1) div 100 + 1) x 100 x RecordSize, with n - 1 wrapped
    // as an unsigned 32-bit value. Computed in 64 bits, so the product cannot wrap; for n = 0 the
    // result is far beyond any block this class will allocate.
    uint64_t capacityFor(uint32_t n) const;

private:
    template <class T>
    static void writeMirror(void* addr, uint8_t* value) {
        *static_cast<T**>(addr) = reinterpret_cast<T*>(value);
    }

    void setCurrent(uint8_t* p);
    // Allocates a zeroed block of `bytes`; on failure reports error `code` and returns null.
    uint8_t* allocate(uint64_t bytes, int code);

    // Field names follow the record this class was modelled on.
    uint8_t* Current = nullptr;
    uint8_t* Block = nullptr;
    uint32_t Count = 0;
    int32_t Cursor = -1;
    int32_t AllocatedBytes = 0;
    const uint32_t GrowthRecords = kGrowthRecords;
    const int32_t RecordSize;

    // CurrentVar: the owner's pointer variable, written through a typed thunk so that a
    // `Placement*` mirror is assigned as a `Placement*` and not punned through `void**`.
    void* mirrorAddr_ = nullptr;
    void (*mirrorWrite_)(void*, uint8_t*) = nullptr;

    MessageHandler onMessage_;
    ZeroAllocator allocator_;
};

}  // namespace pr
