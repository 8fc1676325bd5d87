// Deep copies for the owning containers: each element is replaced by its own clone.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace zelvane {

// A new copy of item as a T, or null for null. Where clone() answers a base class, the copy is
// cast down; a copy of another kind is deleted and null answered, so it is never dropped unowned.
template <typename T, typename Source>
T* cloneAs(Source const* item) {
    if (item == nullptr) {
        return nullptr;
    }
    auto* copy = item->clone();
    if constexpr (std::is_convertible_v<decltype(copy), T*>) {
        return copy;
    } else {
        std::unique_ptr<std::remove_pointer_t<decltype(copy)>> held(copy);
        T* cast = dynamic_cast<T*>(held.get());
        if (cast != nullptr) {
            held.release();
        }
        return cast;
    }
}

// Appends a clone of each element it is given to the target container.
template <typename Container, typename T>
class CloneEntry {
public:
    explicit CloneEntry(Container& target) : m_target(target) {}

    void operator()(T const* item) const { m_target.push_back(cloneAs<T>(item)); }

private:
    Container& m_target;
};

// Inserts each key with a clone of its value into the target map.
template <typename Container, typename K, typename T>
class ClonePairEntry {
public:
    explicit ClonePairEntry(Container& target) : m_target(target) {}

    template <typename Pair>
    void operator()(Pair const& entry) const {
        T* copy = cloneAs<T>(entry.second);
        // The target takes the copy with its key, and deletes it should it fail to store it (a
        // key that cannot be copied included).
        if (!m_target.insert(entry.first, copy).second) {
            delete copy; // the target already had the key and kept its own object
        }
    }

private:
    Container& m_target;
};

} // namespace zelvane
