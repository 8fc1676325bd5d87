// An owning doubly linked list of heap objects: it deletes what it holds and copies deeply.
#pragma once

#include "Environment/CloneEntry.h"

#include <algorithm>
#include <list>
#include <memory>
#include <utility>

namespace zelvane {

// Elements are T* (null allowed); T has a virtual clone() and a virtual destructor. Adding an
// object hands it to the list: should the list fail to store it (std::bad_alloc), it is deleted.
template <typename T>
class List {
public:
    using container_type = std::list<T*>;
    using value_type = T*;
    using size_type = typename container_type::size_type;
    using difference_type = typename container_type::difference_type;
    using reference = T*&;
    using const_reference = T* const&;
    using iterator = typename container_type::iterator;
    using const_iterator = typename container_type::const_iterator;
    using reverse_iterator = typename container_type::reverse_iterator;
    using const_reverse_iterator = typename container_type::const_reverse_iterator;

    List() = default;
    List(List const& other) {
        try {
            std::for_each(other.begin(), other.end(), CloneEntry<List, T>(*this));
        } catch (...) {
            clear();
            throw;
        }
    }
    List(List&& other) noexcept : m_items(std::move(other.m_items)) { other.m_items.clear(); }
    List& operator=(List const& other) {
        if (this != &other) {
            List copy(other);
            swap(copy);
        }
        return *this;
    }
    List& operator=(List&& other) noexcept {
        if (this != &other) {
            clear();
            m_items.swap(other.m_items);
        }
        return *this;
    }
    virtual ~List() { clear(); }

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

    void push_back(T* item) { insert(end(), item); }
    void push_front(T* item) { insert(begin(), item); }
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
    void pop_front() { erase(cbegin()); }
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

    // Moves the elements of other (all, or one) in front of position; other loses them.
    void splice(const_iterator position, List& other) { m_items.splice(position, other.m_items); }
    void splice(const_iterator position, List& other, const_iterator item) {
        m_items.splice(position, other.m_items, item);
    }
    template <typename Compare>
    void sort(Compare compare) {
        m_items.sort(compare);
    }
    void reverse() noexcept { m_items.reverse(); }
    void swap(List& other) noexcept { m_items.swap(other.m_items); }

private:
    container_type m_items;
};

} // namespace zelvane
