// The name filter of new and renamed sources: a name is refused when another row of the mapping
// dialog's source menu already has it as its label (the command rows count too).
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"
#include "Interface/NameRequest.h"

#include <vector>

namespace zelvane {
class PopupMenu;
}

namespace zelvane::remap {

class UniqueSource : public NameRequest::Filter {
public:
    // No row is being renamed: a new source.
    static constexpr Int16 none = -1;

    // Copies the menu's labels; `row` is the row whose name is being changed, or none.
    UniqueSource(PopupMenu const& menu, Int16 row);

    // Accepted when no row has that label, or when the row that has it is the one being renamed;
    // otherwise the message becomes localised string 32522/7.
    bool checkName(String const& name, String& message) const;
    bool validate(String const& name, String& message) override { return checkName(name, message); }

private:
    std::vector<String> m_labels;
    Int16 m_row;
};

// Asks the user for the name of a new source (row none) or a new name of the row's source;
// empty when the user cancelled.
String getSourceName(PopupMenu const& menu, Int16 row);

} // namespace zelvane::remap
