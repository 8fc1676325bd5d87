// An owning vector of heap objects: it deletes what it holds and copies deeply.
#pragma once

#include "Environment/CloneEntry.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace zelvane {

// Elements are T* (null allowed); T has a clone() and is deleted through its destructor. Adding
// an object hands it to the vector: should the vector fail to store it (std::bad_alloc), it is
// deleted.
template <typename T>
class Vector {
public:
    using container_type = std::vector<T*>;
    using value_type = T*;
    using size_type = typename container_type::size_type;
    using difference_type = typename container_type::difference_type;
    using reference = T*&;
    using const_reference = T* const&;
    using iterator = typename container_type::iterator;
    using const_iterator = typename container_type::const_iterator;
    using reverse_iterator = typename container_type::reverse_iterator;
    using const_reverse_iterator = typename container_type::const_reverse_iterator;

    Vector() = default;
    // An empty vector with room for n elements.
    explicit Vector(unsigned long n) { m_items.reserve(n); }
    Vector(Vector const& other) {
        try {
            m_items.reserve(other.size());
            std::for_each(other.begin(), other.end(), CloneEntry<Vector, T>(*this));
        } catch (...) {
            clear();
            throw;
        }
    }
    Vector(Vector&& other) noexcept : m_items(std::move(other.m_items)) { other.m_items.clear(); }
    Vector& operator=(Vector const& other) {
        if (this != &other) {
            Vector copy(other);
            swap(copy);
        }
        return *this;
    }
    Vector& operator=(Vector&& other) noexcept {
        if (this != &other) {
            clear();
            m_items.swap(other.m_items);
        }
        return *this;
    }
    virtual ~Vector() { clear(); }

    // A new deep copy, owned by the caller.
    virtual Vector* clone() const { return new Vector(*this); }

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
    size_type capacity() const noexcept { return m_items.capacity(); }
    void reserve(size_type n) { m_items.reserve(n); }

    reference operator[](size_type index) { return m_items[index]; }
    const_reference operator[](size_type index) const { return m_items[index]; }
    reference at(size_type index) { return m_items.at(index); }
    const_reference at(size_type index) const { return m_items.at(index); }
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
    // Shrinking deletes the elements cut off; growing adds null slots.
    void resize(size_type n) {
        if (n < size()) {
            erase(cbegin() + difference_type(n), cend());
        } else {
            m_items.resize(n, nullptr);
        }
    }
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

    void swap(Vector& other) noexcept { m_items.swap(other.m_items); }

private:
    container_type m_items;
};

} // namespace zelvane
