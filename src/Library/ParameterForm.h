// A parameter that holds values of one type: its cells, row by row.
#pragma once

#include "Environment/Memory.h"
#include "Environment/Truncate.h"
#include "Library/Parameter.h"
#include "Library/ParameterCells.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

namespace zelvane {

template <typename T>
class ParameterForm : public Parameter {
public:
    // An array when there is more than one row or column, or the flag is set; every cell holds
    // the value.
    ParameterForm(const String& name, const String& description, const T& value, Int16 flags = 0,
                  std::size_t rows = 1, std::size_t columns = 1, bool isArray = false)
        : Parameter(columns, isArray || rows > 1 || columns > 1) {
        setName(name);
        m_description = description;
        m_flags = flags;
        m_cells.assign(std::max({rows * columns, columns, getColumnCount()}), value);
    }
    // From an add-on command parameter record: a scalar holding the record's value.
    explicit ParameterForm(const API_MDCLParameter& record) : Parameter(record) {
        ParameterForm::unpack(record);
    }
    // From a library-part parameter record: its shape and values. A record that cannot be read
    // (see isReadable) leaves default cells of its shape.
    explicit ParameterForm(const API_AddParType& record) : Parameter(record) {
        if (!ParameterForm::unpack(record)) {
            m_cells.assign(getColumnCount(), T());
        }
    }

    std::size_t getRowCount() const override { return m_cells.size() / getColumnCount(); }

    // False past the last column. Past the last row, an array grows to hold the row; a scalar
    // answers false.
    bool isValidIndex(std::size_t row, std::size_t column) {
        if (column >= getColumnCount()) {
            return false;
        }
        std::size_t rows = getRowCount();
        if (row < rows) {
            return true;
        }
        return isArray() && addRow(row + 1 - rows);
    }
    std::size_t getValueIndex(std::size_t row, std::size_t column) {
        if (!isValidIndex(row, column)) {
            throw std::out_of_range("");
        }
        return row * getColumnCount() + column;
    }
    T getValue(std::size_t row = 0, std::size_t column = 0) { return m_cells.at(getValueIndex(row, column)); }
    // Reading a constant parameter never grows it: past the last row it throws as well.
    T getValue(std::size_t row = 0, std::size_t column = 0) const {
        if (column >= getColumnCount() || row >= getRowCount()) {
            throw std::out_of_range("");
        }
        return m_cells.at(row * getColumnCount() + column);
    }
    // Real values are stored only when finite.
    void setValue(const T& value, std::size_t row = 0, std::size_t column = 0) {
        if constexpr (std::is_floating_point_v<T>) {
            if (!std::isfinite(value)) {
                return;
            }
        }
        m_cells.at(getValueIndex(row, column)) = value;
    }
    // Stores any value, non-finite reals included, in a cell the parameter holds; like reading a
    // constant parameter, it never grows it and throws std::out_of_range outside.
    void setValue(T value, std::size_t row = 0, std::size_t column = 0) const {
        if (!holds(row, column)) {
            throw std::out_of_range("");
        }
        m_cells[row * getColumnCount() + column] = std::move(value);
    }

    bool addRow(std::size_t count) override {
        if (!isArray()) {
            return false;
        }
        m_cells.resize(m_cells.size() + count * getColumnCount(), T());
        return true;
    }
    // Each row keeps its cells at the front of its longer row; a scalar becomes an array.
    bool addColumn(std::size_t count) {
        std::size_t oldColumns = getColumnCount();
        std::size_t newColumns = oldColumns + count;
        std::size_t rows = getRowCount();
        ParameterCells<T> cells;
        cells.resize(rows * newColumns);
        for (std::size_t r = 0; r < rows; ++r) {
            std::copy_n(m_cells.begin() + r * oldColumns, oldColumns, cells.begin() + r * newColumns);
        }
        m_cells.swap(cells);
        m_columns = newColumns;
        return true;
    }
    bool setRowCount(std::size_t rows) override {
        rows = std::max<std::size_t>(rows, 1);
        std::size_t current = getRowCount();
        if (rows == current) {
            return true;
        }
        if (rows > current) {
            return addRow(rows - current);
        }
        if (!isArray()) {
            return false;
        }
        m_cells.resize(rows * getColumnCount());
        return true;
    }
    // A count of 0 counts as 1, so that an array never loses its cells.
    bool setColumnCount(std::size_t columns) override {
        columns = std::max<std::size_t>(columns, 1);
        std::size_t current = getColumnCount();
        if (columns == current) {
            return true;
        }
        if (columns > current) {
            return addColumn(columns - current);
        }
        if (!isArray()) {
            return false;
        }
        std::size_t rows = getRowCount();
        ParameterCells<T> cells;
        cells.resize(rows * columns);
        for (std::size_t r = 0; r < rows; ++r) {
            std::copy_n(m_cells.begin() + r * current, columns, cells.begin() + r * columns);
        }
        m_cells.swap(cells);
        m_columns = columns;
        return true;
    }
    void clear() override { std::fill(m_cells.begin(), m_cells.end(), T()); }

    String getValueText(std::size_t row = 0, std::size_t column = 0) const override;
    Setting* getSetting(std::size_t row = 0, std::size_t column = 0) const override;
    void setValueText(const String& text, std::size_t row = 0, std::size_t column = 0) override;
    bool setSetting(const Setting& setting, std::size_t row = 0, std::size_t column = 0) override;
    void applyDelta(const Parameter& changed, const Parameter& base) override;
    bool pack(API_AddParType& record) const override;
    bool pack(API_ChangeParamType& request) const override;
    bool unpack(const API_AddParType& record) override;

    bool copyFrom(const Parameter& other, bool allowRowChange, bool allowColumnChange) override {
        auto* form = dynamic_cast<const ParameterForm<T>*>(&other);
        if (form == nullptr || other.getTypeID() != getTypeID()) {
            return false;
        }
        if ((form->getRowCount() != getRowCount() && !allowRowChange) ||
            (form->getColumnCount() != getColumnCount() && !allowColumnChange)) {
            return false;
        }
        m_columns = form->m_columns;
        m_cells = form->m_cells;
        return true;
    }
    bool rebase(const Parameter& defaults, bool keepValues) override {
        // Mostly of this very class, which needs no search of the class tree.
        auto* form = typeid(defaults) == typeid(*this) ? static_cast<const ParameterForm<T>*>(&defaults)
                                                       : dynamic_cast<const ParameterForm<T>*>(&defaults);
        if (form == nullptr || defaults.getTypeID() != getTypeID()) {
            return false;
        }
        if (!keepValues || form->getColumnCount() != getColumnCount()) {
            m_cells = form->m_cells;
            m_columns = form->m_columns;
        }
        takeHeading(defaults);
        return true;
    }
    // Same type, shape and cells; reals compare exactly, so NaN never equals.
    bool operator==(const Parameter& other) const override {
        auto* form = dynamic_cast<const ParameterForm<T>*>(&other);
        return form != nullptr && other.getTypeID() == getTypeID() &&
               form->getColumnCount() == getColumnCount() && form->getRowCount() == getRowCount() &&
               form->m_cells == m_cells;
    }

    bool pack(API_MDCLParameter& record) const override {
        T value = m_cells.empty() ? T() : m_cells.front();
        if constexpr (std::is_same_v<T, String>) {
            int size = int(std::strlen(value.data())) + 1;
            char* text = allocatePtr(size);
            copyMemory(text, value.data(), size);
            record.string_par = text;
            return true;
        } else if constexpr (std::is_floating_point_v<T>) {
            if (record.type == MDCLPar_int) {
                record.int_par = truncateToInteger<Int32>(value);
                return true;
            }
            if (record.type == MDCLPar_float) {
                record.float_par = value;
                return true;
            }
            return false;
        } else {
            if (record.type == MDCLPar_int) {
                record.int_par = Int32(value);
                return true;
            }
            if (record.type == MDCLPar_float) {
                record.float_par = double(value);
                return true;
            }
            return false;
        }
    }
    bool unpack(const API_MDCLParameter& record) override {
        if constexpr (std::is_same_v<T, String>) {
            m_cells.push_back(String(record.string_par != nullptr ? record.string_par : ""));
            return true;
        } else if constexpr (std::is_floating_point_v<T>) {
            if (record.type == MDCLPar_int) {
                m_cells.push_back(T(record.int_par));
                return true;
            }
            if (record.type == MDCLPar_float) {
                m_cells.push_back(T(record.float_par));
                return true;
            }
            return false;
        } else {
            if (record.type == MDCLPar_int) {
                m_cells.push_back(T(record.int_par));
                return true;
            }
            if (record.type == MDCLPar_float) {
                if constexpr (std::is_same_v<T, bool>) {
                    m_cells.push_back(record.float_par != 0.0); // NaN reads as true, as in array records
                } else {
                    m_cells.push_back(T(truncateToInteger<Int32>(record.float_par)));
                }
                return true;
            }
            return false;
        }
    }

protected:
    ParameterForm(const ParameterForm&) = default;

    // Whether the cell lies inside the parameter as it stands.
    bool holds(std::size_t row, std::size_t column) const {
        return column < getColumnCount() && row < getRowCount();
    }

    // Mutable for the constant setValue, which writes a cell of a constant parameter.
    mutable ParameterCells<T> m_cells;
};

extern template class ParameterForm<short>;
extern template class ParameterForm<int>;
extern template class ParameterForm<double>;
extern template class ParameterForm<bool>;
extern template class ParameterForm<String>;

} // namespace zelvane
