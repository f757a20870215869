// A cache of at most a fixed number of entries that forgets the least
// recently used one to make room: memory stays bounded however many
// different keys a page asks for, while the few it keeps using stay.
#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>
#include <utility>

namespace vell {

template <typename Key, typename Value>
class LruCache {
public:
    explicit LruCache(size_t capacity) : capacity_(capacity ? capacity : 1) {}

    // The value of key, now the most recently used; null when absent.
    Value* find(const Key& key) {
        auto found = index_.find(key);
        if (found == index_.end()) return nullptr;
        order_.splice(order_.begin(), order_, found->second);
        return &found->second->second;
    }

    // Stores value under key (replacing what was there) as the most
    // recently used, forgetting the least recently used beyond capacity.
    Value& put(const Key& key, Value value) {
        auto found = index_.find(key);
        if (found != index_.end()) {
            order_.erase(found->second);
            index_.erase(found);
        }
        order_.emplace_front(key, std::move(value));
        index_[key] = order_.begin();
        while (order_.size() > capacity_) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
        return order_.front().second;
    }

    size_t size() const { return order_.size(); }
    void clear() {
        index_.clear();
        order_.clear();
    }

private:
    size_t capacity_;
    std::list<std::pair<Key, Value>> order_;  // most recently used first
    std::unordered_map<Key, typename std::list<std::pair<Key, Value>>::iterator> index_;
};

}  // namespace vell
