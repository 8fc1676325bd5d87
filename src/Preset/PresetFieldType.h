// A preset field whose values are settings of class S holding values of type V, one setting per
// column. The framework uses rows of Guids (links to records) and of angles; add-ons declare
// their own kinds in the same way.
#pragma once

#include "Environment/AngleSetting.h"
#include "Environment/Guid.h"
#include "Environment/IDSetting.h"
#include "Environment/String.h"
#include "Library/Parameter.h"
#include "Preset/PresetField.h"
#include "XML/XMLUnit.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace zelvane {

template <typename S, typename V>
class PresetFieldType : public PresetField {
public:
    static constexpr std::size_t npos = std::size_t(-1);

    // One column's value as the text of a "value" element.
    class Unit : public XMLUnit {
    public:
        explicit Unit(S& setting) : m_setting(&setting) {}
        char const* getTag() const override { return PresetField::unitTag; }
        bool write(String& text) override {
            m_setting->getValue(text);
            return true;
        }
        bool read(String const& text) override {
            m_setting->setValue(text);
            return true;
        }
        void setDefault() override { m_setting->setDefault(); }

    private:
        S* m_setting;
    };

    explicit PresetFieldType(S const& setting = S(), std::size_t count = 1) {
        m_values.assign(std::min(count, maxColumns), setting);
    }
    PresetFieldType(PresetFieldType const&) = default;

    PresetFieldType* clone() const override { return new PresetFieldType(*this); }
    bool applyTo(Parameter& parameter, std::size_t row) const override;
    void extractFrom(Parameter const& parameter, std::size_t row) override;
    std::size_t getColumnCount() const override { return m_values.size(); }
    Setting* getSetting(std::size_t column) const override {
        return column < m_values.size() ? new S(m_values[column]) : nullptr;
    }
    bool setColumnCount(std::size_t count) override {
        if (count > maxColumns) {
            return false;
        }
        m_values.resize(count);
        return true;
    }
    bool setSetting(Setting const& setting, std::size_t column) override {
        if (column >= maxColumns) {
            return false;
        }
        if (column >= m_values.size()) {
            m_values.resize(column + 1);
        }
        static_cast<Setting&>(m_values[column]) = setting;
        return true;
    }
    void clear() override { m_values.clear(); }
    Shipping* getValueShipping(std::size_t column) override {
        return column < m_values.size() ? new Unit(m_values[column]) : nullptr;
    }

    // The column's value; the null value out of range.
    V getValue(std::size_t column) const {
        return column < m_values.size() ? m_values[column].getValue() : V();
    }
    // The first column holding the value, else npos.
    std::size_t findValue(V const& value) const {
        for (std::size_t c = 0; c < m_values.size(); ++c) {
            if (m_values[c].getValue() == value) {
                return c;
            }
        }
        return npos;
    }
    bool setValue(V const& value, std::size_t column) { return setSetting(S(value), column); }
    void eraseAt(std::size_t column) {
        if (column < m_values.size()) {
            m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(column));
        }
    }

private:
    std::vector<S> m_values;
};

template <typename S, typename V>
bool PresetFieldType<S, V>::applyTo(Parameter& parameter, std::size_t row) const {
    if (isIgnored()) {
        return false;
    }
    bool changed = false;
    if (parameter.isArray() && parameter.getColumnCount() < m_values.size()) {
        changed = parameter.setColumnCount(m_values.size());
    }
    for (std::size_t c = 0; c < m_values.size(); ++c) {
        if (!parameter.isArray() && (c > 0 || row > 0)) {
            break;
        }
        std::unique_ptr<Setting> present(parameter.getSetting(row, c));
        // The cell is left alone when writing the value into it would leave it as it is.
        if (present != nullptr) {
            std::unique_ptr<Setting> written(present->clone());
            *written = m_values[c];
            if (written->isEqualTo(*present)) {
                continue;
            }
        }
        parameter.setSetting(m_values[c], row, c);
        changed = true;
    }
    return changed;
}

template <typename S, typename V>
void PresetFieldType<S, V>::extractFrom(Parameter const& parameter, std::size_t row) {
    if (isIgnored()) {
        return;
    }
    m_values.clear();
    std::size_t columns = std::min(parameter.getColumnCount(), maxColumns);
    for (std::size_t c = 0; c < columns; ++c) {
        std::unique_ptr<Setting> cell(parameter.getSetting(row, c));
        if (cell != nullptr) {
            m_values.emplace_back();
            static_cast<Setting&>(m_values.back()) = *cell;
        }
    }
}

extern template class PresetFieldType<IDSetting, Guid>;
extern template class PresetFieldType<AngleSetting, double>;

} // namespace zelvane
