#include "core/imaging/RenditionCache.h"

#include <cstring>
#include <utility>
#include <vector>

namespace pr {

struct RenditionCache::Entry {
    RenditionKey key;
    std::shared_ptr<const void> value;
    size_t bytes = 0;
    int pins = 0;
    bool cached = true;
    std::list<Entry*>::iterator lru;
};

struct RenditionCache::InFlight {
    bool done = false;
    bool ok = false;
};

bool RenditionKey::operator==(const RenditionKey& o) const {
    return source == o.source && recipe == o.recipe && kind == o.kind &&
           std::memcmp(values, o.values, sizeof values) == 0;
}

size_t RenditionKeyHash::operator()(const RenditionKey& k) const {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint64_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(k.source);
    mix(k.recipe);
    mix(static_cast<uint32_t>(k.kind));
    for (int32_t v : k.values) mix(static_cast<uint32_t>(v));
    return static_cast<size_t>(h);
}

RenditionCache& RenditionCache::shared() {
    // Never destroyed: handles held by other static objects may be released during exit.
    static RenditionCache* const cache = new RenditionCache;
    return *cache;
}

RenditionCache::RenditionCache(size_t budgetBytes) : budget_(budgetBytes) {}

RenditionCache::~RenditionCache() {
    clear();
}

// ---- handles ----

RenditionCache::Handle::Handle(RenditionCache* cache, std::shared_ptr<Entry> entry)
    : cache_(cache), entry_(std::move(entry)), value_(entry_->value) {}

RenditionCache::Handle::~Handle() {
    if (entry_) cache_->unpin(entry_.get());
}

RenditionCache::Handle::Handle(const Handle& o)
    : cache_(o.cache_), entry_(o.entry_), value_(o.value_) {
    if (entry_) {
        const std::lock_guard<std::mutex> lock(cache_->mutex_);
        ++entry_->pins;
    }
}

RenditionCache::Handle::Handle(Handle&& o) noexcept
    : cache_(o.cache_), entry_(std::move(o.entry_)), value_(std::move(o.value_)) {
    o.entry_.reset();
    o.value_.reset();
}

RenditionCache::Handle& RenditionCache::Handle::operator=(Handle o) noexcept {
    std::swap(cache_, o.cache_);
    std::swap(entry_, o.entry_);
    std::swap(value_, o.value_);
    return *this;
}

const RenditionKey& RenditionCache::Handle::key() const {
    static const RenditionKey none;
    return entry_ ? entry_->key : none;
}

// ---- the cache ----

RenditionCache::Handle RenditionCache::pinLocked(const std::shared_ptr<Entry>& entry) {
    ++entry->pins;
    lru_.splice(lru_.begin(), lru_, entry->lru);
    return Handle(this, entry);
}

void RenditionCache::unpin(Entry* entry) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (--entry->pins == 0 && entry->cached && used_ > budget_) evictLocked();
}

void RenditionCache::removeLocked(const std::shared_ptr<Entry>& entry) {
    // `entry` may be the map's own pointer: keep the entry alive until it is out of everything.
    const std::shared_ptr<Entry> keep = entry;
    keep->cached = false;
    used_ -= keep->bytes;
    lru_.erase(keep->lru);
    entries_.erase(keep->key);
}

void RenditionCache::evictLocked() {
    for (auto it = lru_.end(); used_ > budget_ && it != lru_.begin();) {
        --it;
        Entry* e = *it;
        if (e->pins > 0) continue;
        const auto found = entries_.find(e->key);
        it = std::next(it);  // removing e invalidates only e's own position
        ++evictions_;
        removeLocked(found->second);
    }
}

RenditionCache::Handle RenditionCache::insertLocked(const RenditionKey& key,
                                                    std::shared_ptr<const void> value,
                                                    size_t bytes) {
    const auto old = entries_.find(key);
    if (old != entries_.end()) removeLocked(old->second);
    auto entry = std::make_shared<Entry>();
    entry->key = key;
    entry->value = std::move(value);
    entry->bytes = bytes;
    entry->pins = 1;
    lru_.push_front(entry.get());
    entry->lru = lru_.begin();
    entries_.emplace(key, entry);
    used_ += bytes;
    evictLocked();
    return Handle(this, std::move(entry));
}

RenditionCache::Handle RenditionCache::find(const RenditionKey& key) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end()) return {};
    return pinLocked(it->second);
}

RenditionCache::Handle RenditionCache::insert(const RenditionKey& key,
                                              std::shared_ptr<const void> value, size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return insertLocked(key, std::move(value), bytes);
}

RenditionCache::Handle RenditionCache::getOrMake(const RenditionKey& key, const Maker& make) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const auto it = entries_.find(key);
        if (it != entries_.end()) return pinLocked(it->second);
        const auto flying = inFlight_.find(key);
        if (flying == inFlight_.end()) break;
        const std::shared_ptr<InFlight> other = flying->second;
        made_.wait(lock, [&other] { return other->done; });
        if (!other->ok) return {};
        // Made: found on the next round (or made again if it was dropped meanwhile).
    }
    auto flight = std::make_shared<InFlight>();
    inFlight_.emplace(key, flight);
    lock.unlock();

    std::shared_ptr<const void> value;
    size_t bytes = 0;
    bool ok = false;
    try {
        ok = make(value, bytes) && value != nullptr;
    } catch (...) {
        lock.lock();
        inFlight_.erase(key);
        flight->done = true;
        made_.notify_all();
        throw;
    }

    lock.lock();
    inFlight_.erase(key);
    flight->done = true;
    flight->ok = ok;
    Handle handle;
    if (ok) handle = insertLocked(key, std::move(value), bytes);
    made_.notify_all();
    return handle;
}

void RenditionCache::dropSource(uint64_t source) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::shared_ptr<Entry>> drop;
    for (const auto& [key, entry] : entries_)
        if (key.source == source) drop.push_back(entry);
    for (const auto& entry : drop) removeLocked(entry);
}

void RenditionCache::clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::shared_ptr<Entry>> drop;
    for (const auto& [key, entry] : entries_) drop.push_back(entry);
    for (const auto& entry : drop) removeLocked(entry);
}

void RenditionCache::setBudget(size_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    budget_ = bytes;
    evictLocked();
}

size_t RenditionCache::budget() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return budget_;
}

size_t RenditionCache::usedBytes() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return used_;
}

size_t RenditionCache::entryCount() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

bool RenditionCache::contains(const RenditionKey& key) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return entries_.count(key) != 0;
}

bool RenditionCache::pinned(const RenditionKey& key) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto it = entries_.find(key);
    return it != entries_.end() && it->second->pins > 0;
}

uint64_t RenditionCache::evictions() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return evictions_;
}

}  // namespace pr
