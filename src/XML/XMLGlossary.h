// The entity table shared by the XML reader and writer: entity name to replacement text, ordered
// by name.
#pragma once

#include "Environment/String.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvane {

class XMLGlossary {
public:
    XMLGlossary();

    // The replacement text of an entity, or null when the name is not in the table.
    String const* find(std::string_view name) const;
    std::size_t size() const { return m_entries.size(); }
    // Entries in name order.
    std::pair<String, String> const& operator[](std::size_t index) const { return m_entries[index]; }

private:
    std::vector<std::pair<String, String>> m_entries;
};

} // namespace zelvane
