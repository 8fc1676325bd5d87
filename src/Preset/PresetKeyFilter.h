// Lets through the records whose Guid a key record lists in one of its Guid fields: the menu of a
// preset restricted by another preset's choice.
#pragma once

#include "Preset/PresetDatabase.h"

#include <vector>

namespace zelvane {

class PresetKeyFilter : public PresetDatabase::Filter {
public:
    // The Guids the field holds now.
    explicit PresetKeyFilter(std::vector<Guid> keys) : m_keys(std::move(keys)) {}

    bool isAccepted(PresetDatabase::Pair const& pair) const override;

private:
    std::vector<Guid> m_keys;
};

} // namespace zelvane
