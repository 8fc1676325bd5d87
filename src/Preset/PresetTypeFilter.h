// Lets through the records of the preset type the type pop-up shows. Made over the pop-up, it
// fills it with the display names of the registered types, sorted, and makes the first type (by
// type name) the template of new records; the pop-up stays empty when no type is registered.
#pragma once

#include "Preset/PresetDatabase.h"

#include <map>

namespace zelvane {

class PopupMenu;

class PresetTypeFilter : public PresetDatabase::Filter {
public:
    // The pop-up is not owned and must outlive the filter.
    explicit PresetTypeFilter(PopupMenu* popup);

    // The record's type is registered and its display name is the pop-up's current text.
    bool isAccepted(PresetDatabase::Pair const& pair) const override;

private:
    PopupMenu* m_popup;
    // Type name -> display name, as registered when the filter was made.
    std::map<String, String> m_name;
};

} // namespace zelvane
