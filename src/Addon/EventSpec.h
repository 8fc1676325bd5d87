// The key of an event: a family and a kind, each a four-character code.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class EventSpec {
public:
    EventSpec(UInt32 family = 0, UInt32 kind = 0) : m_family(family), m_kind(kind) {}

    UInt32 getFamily() const { return m_family; }
    UInt32 getKind() const { return m_kind; }

    bool operator==(const EventSpec& other) const {
        return m_family == other.m_family && m_kind == other.m_kind;
    }
    bool operator!=(const EventSpec& other) const { return !(*this == other); }
    // By family, then by kind, both as unsigned numbers.
    bool operator<(const EventSpec& other) const {
        return m_family != other.m_family ? m_family < other.m_family : m_kind < other.m_kind;
    }

private:
    UInt32 m_family;
    UInt32 m_kind;
};

} // namespace zelvane
