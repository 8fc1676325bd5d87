#include "Library/ParameterForm.h"

#include "Environment/BooleanSetting.h"
#include "Environment/Int32Setting.h"
#include "Environment/LengthSetting.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Environment/ToString.h"
#include "GSRoot/UniString.hpp"

#include <memory>
#include <new>

namespace zelvane {

namespace {

constexpr API_AddParID lengthType = 2;

template <typename T>
double toReal(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? 1.0 : 0.0;
    } else {
        return double(value);
    }
}

template <typename T>
T fromReal(double value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value != 0.0; // NaN counts as true
    } else if constexpr (std::is_floating_point_v<T>) {
        return value;
    } else {
        return T(truncateToInteger<Int32>(value));
    }
}

// The UTF-16 units of text followed by a 0 unit.
std::u16string unitsOf(const String& text) {
    GS::UniString units = text;
    std::u16string result(reinterpret_cast<const char16_t*>(units.ToUStr()), units.GetLength());
    result.push_back(0);
    return result;
}

} // namespace

template <typename T>
String ParameterForm<T>::getValueText(std::size_t row, std::size_t column) const {
    const T& value = m_cells.at(holds(row, column) ? row * getColumnCount() + column : m_cells.size());
    if constexpr (std::is_same_v<T, String>) {
        return value;
    } else if constexpr (std::is_same_v<T, bool>) {
        return value ? "1" : "0";
    } else if constexpr (std::is_floating_point_v<T>) {
        return ToString(value, 0.0);
    } else {
        return ToString(int(value));
    }
}

template <typename T>
Setting* ParameterForm<T>::getSetting(std::size_t row, std::size_t column) const {
    T value = holds(row, column) ? m_cells[row * getColumnCount() + column] : T();
    if constexpr (std::is_same_v<T, String>) {
        return new StringSetting(value);
    } else if constexpr (std::is_same_v<T, bool>) {
        return new BooleanSetting(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        if (getTypeID() == lengthType) {
            return new LengthSetting(value);
        }
        return new RealSetting(value);
    } else {
        return new Int32Setting(int(value));
    }
}

template <typename T>
void ParameterForm<T>::setValueText(const String& text, std::size_t row, std::size_t column) {
    if constexpr (std::is_same_v<T, String>) {
        setValue(text, row, column);
    } else if constexpr (std::is_same_v<T, bool>) {
        setValue(!(text == "0"), row, column);
    } else if constexpr (std::is_floating_point_v<T>) {
        setValue(ToDouble(text).getValue(), row, column);
    } else {
        setValue(T(ToInt32(text).getValue()), row, column);
    }
}

template <typename T>
bool ParameterForm<T>::setSetting(const Setting& setting, std::size_t row, std::size_t column) {
    if (column >= getColumnCount()) {
        setColumnCount(column + 1);
    }
    if (row >= getRowCount()) {
        setRowCount(row + 1);
    }
    // A cell it cannot hold (a scalar's second row) answers false rather than throwing
    // std::out_of_range: library operations report failure by their result.
    if (!holds(row, column)) {
        return false;
    }
    T value;
    if constexpr (std::is_same_v<T, String> || std::is_same_v<T, bool> || std::is_same_v<T, double> ||
                  std::is_same_v<T, int>) {
        setting.getValue(value);
    } else {
        int number = 0;
        setting.getValue(number);
        value = T(number);
    }
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    setValue(value, row, column);
    return true;
}

template <typename T>
void ParameterForm<T>::applyDelta(const Parameter& changed, const Parameter& base) {
    if (getTypeID() != changed.getTypeID()) {
        return;
    }
    if (base.getTypeID() != changed.getTypeID()) {
        copyFrom(changed, true, true);
        return;
    }
    std::size_t baseRows = base.getRowCount();
    std::size_t baseColumns = base.getColumnCount();
    for (std::size_t c = 0; c < changed.getColumnCount(); ++c) {
        if (c >= baseColumns && c >= getColumnCount()) {
            addColumn(1);
        }
        for (std::size_t r = 0; r < changed.getRowCount(); ++r) {
            if (r >= baseRows && r >= getRowCount()) {
                addRow(1);
            }
            std::unique_ptr<Setting> after(changed.getSetting(r, c));
            if (after == nullptr) {
                continue;
            }
            std::unique_ptr<Setting> before(r < baseRows && c < baseColumns ? base.getSetting(r, c)
                                                                            : nullptr);
            if (before == nullptr || !before->isEqualTo(*after)) {
                setSetting(*after, r, c);
            }
        }
    }
}

template <typename T>
bool ParameterForm<T>::pack(API_AddParType& record) const {
    if (record.typeMod == API_ParSimple) {
        T value = m_cells.empty() ? T() : m_cells.front();
        if constexpr (std::is_same_v<T, String>) {
            value.copyTo(record.value.uStr, sizeof record.value.uStr);
        } else {
            record.value.real = toReal(value);
        }
        return true;
    }
    if (record.typeMod != API_ParArray) {
        return false;
    }
    GSHandle cells = nullptr;
    if constexpr (std::is_same_v<T, String>) {
        std::u16string all;
        for (const String& cell : m_cells) {
            all += unitsOf(cell);
        }
        cells = allocateHandle(int(all.size() * sizeof(char16_t)));
        copyMemory(*cells, all.data(), int(all.size() * sizeof(char16_t)));
    } else {
        cells = allocateHandle(int(m_cells.size() * sizeof(double)));
        for (std::size_t i = 0; i < m_cells.size(); ++i) {
            double value = toReal(m_cells[i]);
            copyMemory(*cells + i * sizeof(double), &value, sizeof value);
        }
    }
    record.value.array = cells;
    return true;
}

template <typename T>
bool ParameterForm<T>::pack(API_ChangeParamType& request) const {
    if (request.ind1 < 0 || request.ind2 < 0 ||
        !holds(std::size_t(request.ind1), std::size_t(request.ind2))) {
        return false;
    }
    const T& value = m_cells[std::size_t(request.ind1) * getColumnCount() + std::size_t(request.ind2)];
    if constexpr (std::is_same_v<T, String>) {
        if (request.uStrValue == nullptr) {
            return false;
        }
        value.copyTo(request.uStrValue, 256 * sizeof(GS::UniChar));
    } else {
        request.realValue = toReal(value);
    }
    return true;
}

template <typename T>
bool ParameterForm<T>::unpack(const API_AddParType& record) {
    if (!isReadable(record)) {
        return false;
    }
    if (record.typeMod == API_ParSimple) {
        if constexpr (std::is_same_v<T, String>) {
            m_cells.push_back(String(record.value.uStr, unsigned(sizeof record.value.uStr)));
        } else {
            m_cells.push_back(fromReal<T>(record.value.real));
        }
        return true;
    }
    std::size_t count =
        std::size_t(std::max<Int32>(record.dim1, 1)) * std::size_t(std::max<Int32>(record.dim2, 1));
    GSConstHandle cells = record.value.array;
    std::size_t bytes = std::size_t(std::max(getHandleSize(const_cast<GSHandle>(cells)), 0));
    // Only what the handle holds is read; cells it lacks take the default value.
    if constexpr (std::is_same_v<T, String>) {
        const char* at = *cells;
        std::size_t units = bytes / sizeof(char16_t);
        std::size_t start = 0;
        std::size_t found = 0;
        m_cells.reserve(m_cells.size() + std::min(count, units + 1));
        while (found < count && start < units) {
            std::u16string text;
            std::size_t i = start;
            for (; i < units; ++i) {
                char16_t unit;
                std::memcpy(&unit, at + i * sizeof unit, sizeof unit);
                if (unit == 0) {
                    break;
                }
                text.push_back(unit);
            }
            m_cells.push_back(String(
                GS::UniString(reinterpret_cast<const GS::UniChar*>(text.data()), GS::USize(text.size()))));
            ++found;
            start = i + 1;
        }
        m_cells.resize(m_cells.size() + (count - found));
    } else {
        std::size_t held = std::min(count, bytes / sizeof(double));
        m_cells.reserve(m_cells.size() + count);
        for (std::size_t i = 0; i < held; ++i) {
            double value;
            std::memcpy(&value, *cells + i * sizeof value, sizeof value);
            m_cells.push_back(fromReal<T>(value));
        }
        m_cells.resize(m_cells.size() + (count - held), T());
    }
    return true;
}

template class ParameterForm<short>;
template class ParameterForm<int>;
template class ParameterForm<double>;
template class ParameterForm<bool>;
template class ParameterForm<String>;

} // namespace zelvane
