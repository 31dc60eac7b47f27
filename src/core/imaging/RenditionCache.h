#pragma once
// RenditionCache: the one store of decoded pixels of the whole process, with a byte budget.
//
// Entries are whatever was made from a picture for some use: a picture decoded at a reduced size
// and turned and adjusted (an ImageBuffer), a rendition for one destination (a Rendition). Each
// is found again by its key; the values are immutable and shared read-only.
//
// Budget: after every insertion and every release, the least recently used entries are dropped
// until the bytes of all entries are within the budget. An entry is pinned while a Handle holds
// it: pinned entries are never dropped, so the renditions of the page being drawn stay until the
// page is done, even when that page alone needs more than the budget (the cache is then over
// budget until the handles go). Dropping an entry only forgets it; whoever still holds the value
// keeps it alive.
//
// Thread-safe. getOrMake() makes a missing entry once: a second thread that asks for a key being
// made waits for that result instead of making it again. Makers run without the lock held, and
// may themselves ask the cache for other keys.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace pr {

struct RenditionKey {
    uint64_t source = 0;  // the picture's pixel source (PictureSource::id)
    uint64_t recipe = 0;  // what was done to the pixels (a hash; 0 for nothing)
    int32_t kind = 0;     // what the entry is; the owner of the keys defines the kinds
    int32_t values[7] = {};

    bool operator==(const RenditionKey& o) const;
};

struct RenditionKeyHash {
    size_t operator()(const RenditionKey& k) const;
};

class RenditionCache {
    struct Entry;

public:
    static constexpr size_t kDefaultBudget = size_t{512} << 20;

    // The process's cache.
    static RenditionCache& shared();

    explicit RenditionCache(size_t budgetBytes = kDefaultBudget);
    // Handles must be gone by then.
    ~RenditionCache();
    RenditionCache(const RenditionCache&) = delete;
    RenditionCache& operator=(const RenditionCache&) = delete;

    // A pinned entry. Copies pin it once more; the last one to go unpins it.
    class Handle {
    public:
        Handle() = default;
        ~Handle();
        Handle(const Handle& o);
        Handle(Handle&& o) noexcept;
        Handle& operator=(Handle o) noexcept;

        explicit operator bool() const { return entry_ != nullptr; }
        template <class T>
        const T* get() const {
            return static_cast<const T*>(value_.get());
        }
        template <class T>
        std::shared_ptr<const T> share() const {
            return std::static_pointer_cast<const T>(value_);
        }
        const RenditionKey& key() const;

    private:
        friend class RenditionCache;
        Handle(RenditionCache* cache, std::shared_ptr<Entry> entry);
        RenditionCache* cache_ = nullptr;
        std::shared_ptr<Entry> entry_;
        std::shared_ptr<const void> value_;
    };

    using Maker = std::function<bool(std::shared_ptr<const void>& value, size_t& bytes)>;

    // The entry, pinned and marked as just used; empty when there is none.
    Handle find(const RenditionKey& key);
    // Stores `value` of `bytes` under `key` (replacing an entry with that key) and returns it
    // pinned.
    Handle insert(const RenditionKey& key, std::shared_ptr<const void> value, size_t bytes);
    // find(), or make it with `make` and insert it. Empty when `make` returns false.
    Handle getOrMake(const RenditionKey& key, const Maker& make);

    // Forgets every entry of a picture source (a picture removed from the album).
    void dropSource(uint64_t source);
    void clear();

    void setBudget(size_t bytes);
    size_t budget() const;
    size_t usedBytes() const;
    size_t entryCount() const;
    bool contains(const RenditionKey& key) const;
    bool pinned(const RenditionKey& key) const;
    uint64_t evictions() const;

private:
    struct InFlight;
    Handle pinLocked(const std::shared_ptr<Entry>& entry);
    Handle insertLocked(const RenditionKey& key, std::shared_ptr<const void> value, size_t bytes);
    void unpin(Entry* entry);
    void evictLocked();
    void removeLocked(const std::shared_ptr<Entry>& entry);

    mutable std::mutex mutex_;
    std::condition_variable made_;
    std::unordered_map<RenditionKey, std::shared_ptr<Entry>, RenditionKeyHash> entries_;
    std::unordered_map<RenditionKey, std::shared_ptr<InFlight>, RenditionKeyHash> inFlight_;
    std::list<Entry*> lru_;  // most recently used first
    size_t budget_;
    size_t used_ = 0;
    uint64_t evictions_ = 0;
};

}  // namespace pr
