// The cells of a parameter, row by row: a single cell (a scalar's, the common case) is kept in the
// object itself, more in a heap array, so that most parameters cost no allocation for their cells.
// Cells past the size in the array hold the default value.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <utility>

namespace zelvane {

template <typename T>
class ParameterCells {
public:
    using iterator = T*;
    using const_iterator = const T*;

    ParameterCells() = default;
    ParameterCells(const ParameterCells& other) { copy(other.data(), other.m_size); }
    ParameterCells& operator=(const ParameterCells& other) {
        if (this != &other) {
            copy(other.data(), other.m_size);
        }
        return *this;
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_capacity == 0 ? &m_one : m_many.get(); }
    const T* data() const { return m_capacity == 0 ? &m_one : m_many.get(); }
    iterator begin() { return data(); }
    iterator end() { return data() + m_size; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + m_size; }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    // Throws std::out_of_range outside the cells.
    T& at(std::size_t i) { return data()[checked(i)]; }
    const T& at(std::size_t i) const { return data()[checked(i)]; }
    T& front() { return data()[0]; }
    const T& front() const { return data()[0]; }

    // n cells, each value.
    void assign(std::size_t n, T value) {
        if (n > room()) {
            std::unique_ptr<T[]> fresh(new T[n]());
            std::fill_n(fresh.get(), n, value);
            adopt(fresh, n);
        } else {
            std::fill_n(data(), n, value);
            cut(n);
        }
        m_size = n;
    }
    // Room for n cells, so that adding them allocates no more than once.
    void reserve(std::size_t n) {
        if (n > room()) {
            std::unique_ptr<T[]> fresh(new T[n]());
            std::copy(begin(), end(), fresh.get());
            adopt(fresh, n);
        }
    }
    void push_back(T value) { // by value: it may be a cell of this very list
        if (m_size == room()) {
            reserve(std::max<std::size_t>(2, 2 * m_size));
        }
        data()[m_size++] = std::move(value);
    }
    // Cut to n cells, or grown to n with value added.
    void resize(std::size_t n, T value = T()) {
        if (n <= m_size) {
            cut(n);
            m_size = n;
            return;
        }
        if (n > room()) {
            reserve(std::max(n, 2 * m_capacity));
        }
        std::fill(data() + m_size, data() + n, value);
        m_size = n;
    }
    void swap(ParameterCells& other) {
        std::swap(m_one, other.m_one);
        m_many.swap(other.m_many);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

    bool operator==(const ParameterCells& other) const {
        return m_size == other.m_size && std::equal(begin(), end(), other.begin());
    }

private:
    // How many cells fit without allocating.
    std::size_t room() const { return m_capacity == 0 ? 1 : m_capacity; }
    std::size_t checked(std::size_t i) const {
        if (i >= m_size) {
            throw std::out_of_range("");
        }
        return i;
    }
    // The cells from n to the size back to the default value.
    void cut(std::size_t n) {
        for (std::size_t i = n; i < m_size; ++i) {
            data()[i] = T();
        }
    }
    // An array of n cells, filled as wanted, replaces the cells held.
    void adopt(std::unique_ptr<T[]>& fresh, std::size_t capacity) {
        m_many.swap(fresh);
        m_capacity = capacity;
        m_one = T();
    }
    // n cells copied from elsewhere; the single cell is used when no array is held.
    void copy(const T* from, std::size_t n) {
        if (n > room()) {
            std::unique_ptr<T[]> fresh(new T[n]());
            std::copy(from, from + n, fresh.get());
            adopt(fresh, n);
        } else {
            std::copy(from, from + n, data());
            cut(n);
        }
        m_size = n;
    }

    T m_one{};                   // the cell, while no array is held
    std::unique_ptr<T[]> m_many; // the cells, once more than one was wanted
    std::size_t m_size = 0;
    std::size_t m_capacity = 0; // 0: no array
};

} // namespace zelvane
