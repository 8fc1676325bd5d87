// The host's growable array, indexed from 0.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <stdexcept>
#include <vector>

namespace GS {

template <typename T>
class Array {
public:
    Array() = default;

    UInt32 GetSize() const { return UInt32(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }

    // Throws std::out_of_range past the end.
    T& operator[](UInt32 index) { return m_items.at(index); }
    const T& operator[](UInt32 index) const { return m_items.at(index); }

    void Push(const T& item) { m_items.push_back(item); }
    void SetCapacity(UInt32 capacity) { m_items.reserve(capacity); }
    void Clear() { m_items.clear(); }

    typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

} // namespace GS
