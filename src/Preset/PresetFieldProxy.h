// Reads and writes a record's field under the field's name. Reading puts the "value" elements
// into the existing columns in order and appends columns once those are used up; a field that got
// at least one value ends with exactly the values read, one that got none keeps its columns.
#pragma once

#include "XML/XMLArrayProxy.h"

namespace zelvane {

class PresetField;

class PresetFieldProxy : public XMLArrayProxy {
public:
    // The tag is the field's name, kept alive by the record.
    PresetFieldProxy(PresetField& field, char const* name);

    using XMLArrayProxy::addShipping;
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // The field is reset (not ignored) and reading starts at its first column.
    void setDefault() override;
    // Cuts the field to the values read.
    bool validate() override;

private:
    PresetField* m_field;
    std::size_t m_counter = 1;
    bool m_appending = false;
};

} // namespace zelvane
