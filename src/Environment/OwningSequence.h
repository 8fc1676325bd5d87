// The common part of the owning sequences List and Vector: a standard sequence of pointers to heap
// objects that it deletes on clear, erase and destruction, and clones element by element when
// copied.
#pragma once

#include "Environment/CloneEntry.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace zelvane {

// Elements are T* (null allowed); T has a clone() and is deleted through its destructor. Adding an
// object hands it to the sequence: should the sequence fail to store it (std::bad_alloc), it is
// deleted. Container is std::list<T*> or std::vector<T*>.
template <typename T, typename Container>
class OwningSequence {
public:
    using container_type = Container;
    using value_type = T*;
    using size_type = typename container_type::size_type;
    using difference_type = typename container_type::difference_type;
    using reference = T*&;
    using const_reference = T* const&;
    using iterator = typename container_type::iterator;
    using const_iterator = typename container_type::const_iterator;
    using reverse_iterator = typename container_type::reverse_iterator;
    using const_reverse_iterator = typename container_type::const_reverse_iterator;

    iterator begin() noexcept { return m_items.begin(); }
    iterator end() noexcept { return m_items.end(); }
    const_iterator begin() const noexcept { return m_items.begin(); }
    const_iterator end() const noexcept { return m_items.end(); }
    const_iterator cbegin() const noexcept { return m_items.cbegin(); }
    const_iterator cend() const noexcept { return m_items.cend(); }
    reverse_iterator rbegin() noexcept { return m_items.rbegin(); }
    reverse_iterator rend() noexcept { return m_items.rend(); }
    const_reverse_iterator rbegin() const noexcept { return m_items.rbegin(); }
    const_reverse_iterator rend() const noexcept { return m_items.rend(); }

    size_type size() const noexcept { return m_items.size(); }
    bool empty() const noexcept { return m_items.empty(); }

    reference front() { return m_items.front(); }
    const_reference front() const { return m_items.front(); }
    reference back() { return m_items.back(); }
    const_reference back() const { return m_items.back(); }

    void push_back(T* item) {
        std::unique_ptr<T> held(item);
        m_items.push_back(item);
        held.release();
    }
    iterator insert(const_iterator position, T* item) {
        std::unique_ptr<T> held(item);
        iterator result = m_items.insert(position, item);
        held.release();
        return result;
    }

    // Deletes the element and removes its slot; answers the position after it.
    iterator erase(const_iterator position) {
        delete *position;
        return m_items.erase(position);
    }
    iterator erase(const_iterator first, const_iterator last) {
        for (const_iterator it = first; it != last; ++it) {
            delete *it;
        }
        return m_items.erase(first, last);
    }
    void pop_back() { erase(std::prev(cend())); }
    void clear() noexcept {
        for (T* item : m_items) {
            delete item;
        }
        m_items.clear();
    }

    // Hands the element to the caller, who then owns it, and removes its slot.
    T* release(const_iterator position) {
        T* item = *position;
        m_items.erase(position);
        return item;
    }
    // Forgets every element without deleting it (their ownership has passed elsewhere).
    void releaseAll() noexcept { m_items.clear(); }

protected:
    OwningSequence() = default;
    OwningSequence(OwningSequence const& other) {
        try {
            if constexpr (std::is_same_v<Container, std::vector<T*>>) {
                m_items.reserve(other.size());
            }
            std::for_each(other.begin(), other.end(), CloneEntry<OwningSequence, T>(*this));
        } catch (...) {
            clear();
            throw;
        }
    }
    OwningSequence(OwningSequence&& other) noexcept : m_items(std::move(other.m_items)) {
        other.m_items.clear();
    }
    // Copies whole or not at all: the elements are cloned before the old ones are deleted.
    OwningSequence& operator=(OwningSequence const& other) {
        if (this != &other) {
            OwningSequence copy(other);
            m_items.swap(copy.m_items);
        }
        return *this;
    }
    OwningSequence& operator=(OwningSequence&& other) noexcept {
        if (this != &other) {
            clear();
            m_items.swap(other.m_items);
        }
        return *this;
    }
    ~OwningSequence() { clear(); }

    container_type m_items;
};

} // namespace zelvane
