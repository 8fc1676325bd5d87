// An owning doubly linked list of heap objects: it deletes what it holds and copies deeply.
#pragma once

#include "Environment/OwningSequence.h"

#include <list>

namespace zelvane {

// Elements are T* (null allowed); T has a virtual clone() and a virtual destructor. Adding an
// object hands it to the list: should the list fail to store it (std::bad_alloc), it is deleted.
template <typename T>
class List : public OwningSequence<T, std::list<T*>> {
    using Base = OwningSequence<T, std::list<T*>>;

public:
    using typename Base::const_iterator;
    using typename Base::iterator;

    List() = default;
    List(List const& other) = default;
    List(List&& other) noexcept = default;
    List& operator=(List const& other) = default;
    List& operator=(List&& other) noexcept = default;
    virtual ~List() = default;

    void push_front(T* item) { this->insert(this->begin(), item); }
    void pop_front() { this->erase(this->cbegin()); }

    // Moves the elements of other (all, or one) in front of position; other loses them.
    void splice(const_iterator position, List& other) { this->m_items.splice(position, other.m_items); }
    void splice(const_iterator position, List& other, const_iterator item) {
        this->m_items.splice(position, other.m_items, item);
    }
    template <typename Compare>
    void sort(Compare compare) {
        this->m_items.sort(compare);
    }
    void reverse() noexcept { this->m_items.reverse(); }
    void swap(List& other) noexcept { this->m_items.swap(other.m_items); }
};

} // namespace zelvane
