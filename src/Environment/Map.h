// An owning ordered map from keys to heap objects: it deletes what it holds and copies deeply.
#pragma once

#include "Environment/CloneEntry.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

namespace zelvane {

// Keys are values; mapped objects are T* (null allowed), owned by the map. No object is ever
// dropped undeleted: iteration gives read-only slots (the objects themselves stay mutable), an
// object stored over another through operator[] or set() deletes the old one, and an insert on
// a key already present keeps the old object and answers false, leaving the new object with the
// caller. Otherwise adding an object hands it to the map: should the map fail to store it
// (std::bad_alloc), it is deleted.
template <typename K, typename T, typename Compare = std::less<K>>
class Map {
    using Storage = std::map<K, T*, Compare>;

public:
    using key_type = K;
    using mapped_type = T*;
    using value_type = typename Storage::value_type;
    using size_type = typename Storage::size_type;
    using key_compare = Compare;
    using iterator = typename Storage::const_iterator;
    using const_iterator = typename Storage::const_iterator;
    using reverse_iterator = typename Storage::const_reverse_iterator;
    using const_reverse_iterator = typename Storage::const_reverse_iterator;

    // The slot of one key: reads as the object, and storing an object in it deletes the one it
    // held before.
    class Slot {
    public:
        Slot& operator=(T* item) {
            if (m_position->second != item) {
                delete m_position->second;
                m_position->second = item;
            }
            return *this;
        }
        // Storing one slot's object in another would own it twice.
        Slot& operator=(Slot const&) = delete;

        operator T*() const noexcept { return m_position->second; }
        T* get() const noexcept { return m_position->second; }
        T* operator->() const noexcept { return m_position->second; }
        T& operator*() const noexcept { return *m_position->second; }

    private:
        friend class Map;
        explicit Slot(typename Storage::iterator position) : m_position(position) {}
        typename Storage::iterator m_position;
    };

    Map() = default;
    Map(Map const& other) {
        try {
            std::for_each(other.begin(), other.end(), ClonePairEntry<Map, K, T>(*this));
        } catch (...) {
            clear();
            throw;
        }
    }
    Map(Map&& other) noexcept : m_items(std::move(other.m_items)) { other.m_items.clear(); }
    Map& operator=(Map const& other) {
        if (this != &other) {
            Map copy(other);
            swap(copy);
        }
        return *this;
    }
    Map& operator=(Map&& other) noexcept {
        if (this != &other) {
            clear();
            m_items.swap(other.m_items);
        }
        return *this;
    }
    virtual ~Map() { clear(); }

    const_iterator begin() const noexcept { return m_items.begin(); }
    const_iterator end() const noexcept { return m_items.end(); }
    const_iterator cbegin() const noexcept { return m_items.cbegin(); }
    const_iterator cend() const noexcept { return m_items.cend(); }
    const_reverse_iterator rbegin() const noexcept { return m_items.rbegin(); }
    const_reverse_iterator rend() const noexcept { return m_items.rend(); }

    size_type size() const noexcept { return m_items.size(); }
    bool empty() const noexcept { return m_items.empty(); }

    const_iterator find(K const& key) const { return m_items.find(key); }
    size_type count(K const& key) const { return m_items.count(key); }
    bool contains(K const& key) const { return m_items.find(key) != m_items.end(); }
    const_iterator lower_bound(K const& key) const { return m_items.lower_bound(key); }
    const_iterator upper_bound(K const& key) const { return m_items.upper_bound(key); }
    std::pair<const_iterator, const_iterator> equal_range(K const& key) const {
        return m_items.equal_range(key);
    }
    // The object of key; std::out_of_range when the key is missing.
    T* at(K const& key) const { return m_items.at(key); }

    // The slot of key, made empty (null) when the key is new.
    Slot operator[](K const& key) { return Slot(m_items.try_emplace(key, nullptr).first); }

    // Takes item under its key unless the key is present; then the map keeps its own object,
    // answers false, and item stays with the caller.
    std::pair<const_iterator, bool> insert(value_type const& entry) {
        std::unique_ptr<T> held(entry.second);
        auto result = m_items.insert(entry);
        held.release(); // stored, or not taken and still the caller's
        return result;
    }
    std::pair<const_iterator, bool> insert(K const& key, T* item) {
        std::unique_ptr<T> held(item); // deleted should copying the key fail
        value_type entry(key, item);
        held.release();
        return insert(entry);
    }
    // Stores item under key, deleting the object the key held before.
    const_iterator set(K const& key, T* item) {
        std::unique_ptr<T> held(item); // deleted should the new entry fail
        Slot slot = (*this)[key];
        slot = held.release();
        return slot.m_position;
    }

    // Deletes the object(s) and removes the entries; answers the position after them.
    const_iterator erase(const_iterator position) {
        delete position->second;
        return m_items.erase(position);
    }
    const_iterator erase(const_iterator first, const_iterator last) {
        for (const_iterator it = first; it != last; ++it) {
            delete it->second;
        }
        return m_items.erase(first, last);
    }
    size_type erase(K const& key) {
        auto it = m_items.find(key);
        if (it == m_items.end()) {
            return 0;
        }
        erase(it);
        return 1;
    }
    void clear() noexcept {
        for (auto& entry : m_items) {
            delete entry.second;
        }
        m_items.clear();
    }

    // Hands the object of the entry to the caller, who then owns it, and removes the entry.
    T* release(const_iterator position) {
        T* item = position->second;
        m_items.erase(position);
        return item;
    }
    // Hands the object of key to the caller and removes the entry; null when the key is missing.
    T* release(K const& key) {
        auto it = m_items.find(key);
        return it == m_items.end() ? nullptr : release(it);
    }
    // Forgets every object without deleting it (their ownership has passed elsewhere).
    void releaseAll() noexcept { m_items.clear(); }

    void swap(Map& other) noexcept { m_items.swap(other.m_items); }

private:
    Storage m_items;
};

} // namespace zelvane
