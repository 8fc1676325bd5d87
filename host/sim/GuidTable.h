// A table of the simulated host keyed by element GUID, the entry found last kept at hand: a command
// reads, checks and changes one element through several calls in a row, each of which would
// search the table. Entries stay where they are until erased, however the table grows.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <cstddef>
#include <unordered_map>

namespace sim {

struct GuidHash {
    std::size_t operator()(const GS::Guid& guid) const { return guid.GenerateHashValue(); }
};

template <typename T>
class GuidTable {
public:
    using Map = std::unordered_map<GS::Guid, T, GuidHash>;

    GuidTable() = default;
    GuidTable(const GuidTable&) = delete; // the entry at hand would be the other table's
    GuidTable& operator=(const GuidTable&) = delete;
    GuidTable(GuidTable&&) = default; // the entries move with the table
    GuidTable& operator=(GuidTable&&) = default;

    // The entry of the GUID, or null when it has none.
    T* find(const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            return m_last;
        }
        auto it = m_map.find(guid);
        return it == m_map.end() ? nullptr : atHand(guid, it->second);
    }
    // The entry of the GUID, made (value-initialised) when it has none.
    T& operator[](const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            return *m_last;
        }
        return *atHand(guid, m_map[guid]);
    }
    // The entry of the GUID made anew when it has none; the one it has is left as it is.
    std::pair<T*, bool> emplace(const GS::Guid& guid, const T& value) {
        auto [it, made] = m_map.emplace(guid, value);
        return {&it->second, made};
    }
    void erase(const GS::Guid& guid) {
        if (m_last != nullptr && m_lastGuid == guid) {
            m_last = nullptr;
        }
        m_map.erase(guid);
    }
    void clear() {
        m_map.clear();
        m_last = nullptr;
    }
    std::size_t size() const { return m_map.size(); }
    typename Map::const_iterator begin() const { return m_map.begin(); }
    typename Map::const_iterator end() const { return m_map.end(); }

private:
    T* atHand(const GS::Guid& guid, T& entry) {
        m_lastGuid = guid;
        m_last = &entry;
        return m_last;
    }

    Map m_map;
    GS::Guid m_lastGuid;
    T* m_last = nullptr; // the entry of m_lastGuid, or none
};

} // namespace sim
