// One named field of a preset record: a row of typed values, one per column, and a flag that
// leaves the field out when presets are applied or extracted. Each value is written as a "value"
// element; an ignored field writes none.
#pragma once

#include "XML/KeptMarkup.h"
#include "XML/XMLArray.h"

#include <cstddef>

namespace zelvane {

class Parameter;
class Setting;

class PresetField : public XMLArray {
public:
    static constexpr char const* tag = "field";
    static constexpr char const* unitTag = "value";
    static constexpr char const* ignoredTag = "ignored";
    // No field grows past this many columns, whatever a file or a column index asks for.
    static constexpr std::size_t maxColumns = 4096;

    PresetField() = default;
    PresetField(PresetField const&) = default;
    PresetField& operator=(PresetField const&) = delete;

    bool isRepeating() const override { return true; }
    bool hasAttributes() const override { return true; }
    // "ignored", then one "value" per column unless the field is ignored.
    std::size_t shippingSize() const override { return m_ignored ? 1 : 1 + getColumnCount(); }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // Only "ignored": values are read through the record's field proxy.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // Not ignored; the values stay.
    void setDefault() override { m_ignored = false; }
    // What the field's element held beside its values (what a later version added), written back
    // where it stood; copies keep it too.
    KeptMarkup* getKept() override { return &m_kept; }
    char const* getTag() const override { return tag; }

    virtual PresetField* clone() const = 0;
    // Writes the field into a row of the parameter; true when a cell changed.
    virtual bool applyTo(Parameter& parameter, std::size_t row) const = 0;
    // Replaces the values by the cells of a row of the parameter.
    virtual void extractFrom(Parameter const& parameter, std::size_t row) = 0;
    virtual std::size_t getColumnCount() const = 0;
    // A new copy of the column's setting, owned by the caller; null out of range.
    virtual Setting* getSetting(std::size_t column) const = 0;
    // New columns hold the null value; false past maxColumns.
    virtual bool setColumnCount(std::size_t count) = 0;
    // Grows the row to hold the column, then assigns the setting (converting); false past
    // maxColumns.
    virtual bool setSetting(Setting const& setting, std::size_t column) = 0;
    // Removes every column.
    void clear() override = 0;
    // The binding of one column's value, owned by the caller; null out of range.
    virtual Shipping* getValueShipping(std::size_t column) = 0;

    bool isIgnored() const { return m_ignored; }
    void setIgnored(bool ignored) { m_ignored = ignored; }

private:
    bool m_ignored = false;
    KeptMarkup m_kept;
};

} // namespace zelvane
