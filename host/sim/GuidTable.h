// A table of the simulated host keyed by element GUID, the entry found last kept at hand: a command
// reads, checks and changes one element through several calls in a row, each of which would
// search the table. Entries stay where they are until erased, however the table grows.
//
// The GUIDs are kept in one open-addressed array (linear probing, at most half full), each beside
// a pointer to its entry, so that finding an element among many takes a probe in that array and
// one step to the entry, not a walk from a bucket through the nodes of other elements.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace sim {

struct GuidHash {
    std::size_t operator()(const GS::Guid& guid) const { return guid.GenerateHashValue(); }
};

template <typename T>
class GuidTable {
public:
    using Entry = std::pair<const GS::Guid, T>;

private:
    struct Slot {
        GS::Guid guid;
        Entry* entry = nullptr; // owned; null: a free place
    };

public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = const Entry*;
        using reference = const Entry&;

        const_iterator(const Slot* at, const Slot* end) : m_at(at), m_end(end) { skipFree(); }
        reference operator*() const { return *m_at->entry; }
        pointer operator->() const { return m_at->entry; }
        const_iterator& operator++() {
            ++m_at;
            skipFree();
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_at == other.m_at; }
        bool operator!=(const const_iterator& other) const { return m_at != other.m_at; }

    private:
        void skipFree() {
            while (m_at != m_end && m_at->entry == nullptr) {
                ++m_at;
            }
        }
        const Slot* m_at;
        const Slot* m_end;
    };

    GuidTable() = default;
    GuidTable(const GuidTable&) = delete; // the entry at hand would be the other table's
    GuidTable& operator=(const GuidTable&) = delete;
    GuidTable(GuidTable&& other) noexcept { swap(other); }
    ~GuidTable() { clear(); }
    GuidTable& operator=(GuidTable&& other) noexcept {
        GuidTable gone(std::move(*this));
        swap(other);
        return *this;
    }

    // The entry of the GUID, or null when it has none.
    T* find(const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            return m_last;
        }
        if (m_count == 0) {
            return nullptr;
        }
        const Slot& slot = m_slots[probe(guid)];
        return slot.entry == nullptr ? nullptr : atHand(guid, slot.entry->second);
    }
    // The entry of the GUID, made (value-initialised) when it has none.
    T& operator[](const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            return *m_last;
        }
        if (T* found = find(guid)) {
            return *found;
        }
        return *atHand(guid, *place(guid, std::make_unique<Entry>(guid, T())));
    }
    // The entry of the GUID made anew when it has none; the one it has is left as it is.
    std::pair<T*, bool> emplace(const GS::Guid& guid, const T& value) {
        if (T* found = find(guid)) {
            return {found, false};
        }
        return {place(guid, std::make_unique<Entry>(guid, value)), true};
    }
    void erase(const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            m_last = nullptr;
        }
        if (m_count == 0) {
            return;
        }
        std::size_t at = probe(guid);
        if (m_slots[at].entry != nullptr) {
            remove(at);
        }
    }
    void clear() {
        for (Slot& slot : m_slots) {
            delete slot.entry;
        }
        m_slots.clear();
        m_count = 0;
        m_last = nullptr;
    }
    std::size_t size() const { return m_count; }
    const_iterator begin() const { return const_iterator(m_slots.data(), m_slots.data() + m_slots.size()); }
    const_iterator end() const {
        return const_iterator(m_slots.data() + m_slots.size(), m_slots.data() + m_slots.size());
    }

private:
    void swap(GuidTable& other) noexcept {
        std::swap(m_slots, other.m_slots);
        std::swap(m_count, other.m_count);
        std::swap(m_lastGuid, other.m_lastGuid);
        std::swap(m_last, other.m_last);
    }
    T* atHand(const GS::Guid& guid, T& entry) {
        m_lastGuid = guid;
        m_last = &entry;
        return m_last;
    }
    // Where the GUID's place is in a table of `size` places (a power of two).
    static std::size_t home(const GS::Guid& guid, std::size_t size) {
        UInt64 halves[2];
        std::memcpy(halves, &guid, sizeof halves);
        UInt64 mixed = halves[0] ^ (halves[1] * 0xC2B2AE3D27D4EB4Full);
        mixed ^= mixed >> 29;
        mixed *= 0x9E3779B97F4A7C15ull;
        return std::size_t(mixed >> 32) & (size - 1);
    }
    // Where the GUID is, or the free place where it would go.
    std::size_t probe(const GS::Guid& guid) const {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t at = home(guid, m_slots.size());
        while (m_slots[at].entry != nullptr && !(m_slots[at].guid == guid)) {
            at = (at + 1) & mask;
        }
        return at;
    }
    // The new entry of a GUID the table does not have.
    T* place(const GS::Guid& guid, std::unique_ptr<Entry> entry) {
        reserve(m_count + 1);
        Slot& slot = m_slots[probe(guid)];
        slot.guid = guid;
        slot.entry = entry.release();
        ++m_count;
        return &slot.entry->second;
    }
    // Room for `count` entries with the table at most half full.
    void reserve(std::size_t count) {
        if (count * 2 <= m_slots.size()) {
            return;
        }
        std::vector<Slot> old(std::max<std::size_t>(16, m_slots.size() * 2));
        old.swap(m_slots); // may throw, leaving the table as it was
        for (const Slot& slot : old) {
            if (slot.entry != nullptr) {
                m_slots[probe(slot.guid)] = slot;
            }
        }
    }
    // Frees a place, moving back the entries after it that could not have their own place.
    void remove(std::size_t at) {
        const std::size_t mask = m_slots.size() - 1;
        delete m_slots[at].entry;
        std::size_t next = (at + 1) & mask;
        while (m_slots[next].entry != nullptr) {
            std::size_t wanted = home(m_slots[next].guid, m_slots.size());
            // The entry at `next` may fill the free place when its own place is not between them.
            if (((next - wanted) & mask) >= ((next - at) & mask)) {
                m_slots[at] = m_slots[next];
                at = next;
            }
            next = (next + 1) & mask;
        }
        m_slots[at].entry = nullptr;
        --m_count;
    }

    std::vector<Slot> m_slots; // a power of two long, or empty
    std::size_t m_count = 0;
    GS::Guid m_lastGuid;
    T* m_last = nullptr; // the entry of m_lastGuid, or none
};

} // namespace sim
