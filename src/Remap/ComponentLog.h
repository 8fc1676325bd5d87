// One placeable part of the loaded library, as the mapping dialog offers it: its name and its link.
#pragma once

#include "Database/ComponentLink.h"
#include "Environment/String.h"

namespace zelvane::remap {

class ComponentLog {
public:
    ComponentLog(const String& name, const ComponentLink& link) : m_name(name), m_link(link) {}

    const String& getName() const { return m_name; }
    const ComponentLink& getLink() const { return m_link; }

private:
    String m_name;
    ComponentLink m_link;
};

} // namespace zelvane::remap
