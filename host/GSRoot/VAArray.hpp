// The host's growable array of plain records, read from index 1 to its count (slot 0 is kept zeroed
// and holds nothing).
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <stdexcept>
#include <vector>

namespace GS {

template <typename T>
class VAArray {
public:
    // Room for capacity items before the array grows.
    explicit VAArray(UInt32 capacity = 0) : m_items(1, T{}) { m_items.reserve(std::size_t(capacity) + 1); }

    // The index of the last item: the count of items.
    UInt32 GetLastItemIndex() const { return UInt32(m_items.size() - 1); }
    UInt32 GetSize() const { return GetLastItemIndex(); }

    // Items are numbered from 1; throws std::out_of_range for any other index.
    T& operator[](UInt32 index) { return m_items.at(check(index)); }
    const T& operator[](UInt32 index) const { return m_items.at(check(index)); }

    void Push(const T& item) { m_items.push_back(item); }
    void Clear() { m_items.resize(1); }

private:
    UInt32 check(UInt32 index) const {
        if (index == 0 || index >= m_items.size())
            throw std::out_of_range("VAArray index");
        return index;
    }

    std::vector<T> m_items;
};

} // namespace GS
