// Names one parameter of a list, by name or by position, and the cells of it that a change
// addresses: a row and a column, -1 for every one.
#pragma once

#include "Environment/String.h"

#include <cstddef>

namespace zelvane {

class ParameterLink {
public:
    static constexpr long long all = -1;

    ParameterLink() = default;
    explicit ParameterLink(const String& name, long long row = all, long long column = all)
        : m_name(name), m_row(row), m_column(column) {}
    // Position 0 names no parameter.
    explicit ParameterLink(std::size_t position, long long row = all, long long column = all)
        : m_row(row), m_column(column), m_position(position) {}
    virtual ~ParameterLink() = default;

    virtual ParameterLink* clone() const { return new ParameterLink(*this); }

    const String& getName() const { return m_name; }
    long long getRow() const { return m_row; }
    long long getColumn() const { return m_column; }
    std::size_t getPosition() const { return m_position; }

private:
    String m_name;
    long long m_row = all;
    long long m_column = all;
    std::size_t m_position = 0;
};

} // namespace zelvane
