// An owning vector of heap objects: it deletes what it holds and copies deeply.
#pragma once

#include "Environment/OwningSequence.h"

#include <vector>

namespace zelvane {

// Elements are T* (null allowed); T has a clone() and is deleted through its destructor. Adding
// an object hands it to the vector: should the vector fail to store it (std::bad_alloc), it is
// deleted.
template <typename T>
class Vector : public OwningSequence<T, std::vector<T*>> {
    using Base = OwningSequence<T, std::vector<T*>>;

public:
    using typename Base::const_reference;
    using typename Base::difference_type;
    using typename Base::reference;
    using typename Base::size_type;

    Vector() = default;
    // An empty vector with room for n elements.
    explicit Vector(unsigned long n) { this->m_items.reserve(n); }
    Vector(Vector const& other) = default;
    Vector(Vector&& other) noexcept = default;
    Vector& operator=(Vector const& other) = default;
    Vector& operator=(Vector&& other) noexcept = default;
    virtual ~Vector() = default;

    // A new deep copy, owned by the caller.
    virtual Vector* clone() const { return new Vector(*this); }

    size_type capacity() const noexcept { return this->m_items.capacity(); }
    void reserve(size_type n) { this->m_items.reserve(n); }

    reference operator[](size_type index) { return this->m_items[index]; }
    const_reference operator[](size_type index) const { return this->m_items[index]; }
    reference at(size_type index) { return this->m_items.at(index); }
    const_reference at(size_type index) const { return this->m_items.at(index); }

    // Shrinking deletes the elements cut off; growing adds null slots.
    void resize(size_type n) {
        if (n < this->size()) {
            this->erase(this->cbegin() + difference_type(n), this->cend());
        } else {
            this->m_items.resize(n, nullptr);
        }
    }

    void swap(Vector& other) noexcept { this->m_items.swap(other.m_items); }
};

} // namespace zelvane
