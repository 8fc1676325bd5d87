// The kind of an element: the host element type and a subtype, where subtype 0 stands for every
// subtype of its type.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class element_id {
public:
    constexpr element_id(UInt8 type = 0, UInt8 subtype = 0) : m_type(type), m_subtype(subtype) {}

    constexpr UInt8 getType() const { return m_type; }
    constexpr UInt8 getSubtype() const { return m_subtype; }
    void setType(UInt8 type) { m_type = type; }
    void setSubtype(UInt8 subtype) { m_subtype = subtype; }

    // By type; within a type, subtypes are compared only when both are not 0, so a subtype of 0
    // is equivalent to every subtype. This is not a strict weak order: ordered containers key
    // on exactType instead.
    constexpr bool operator<(const element_id& other) const {
        if (m_type != other.m_type) {
            return m_type < other.m_type;
        }
        return m_subtype != 0 && other.m_subtype != 0 && m_subtype < other.m_subtype;
    }
    // The same type, and subtypes equal or either 0.
    constexpr bool matches(const element_id& other) const {
        return m_type == other.m_type &&
               (m_subtype == other.m_subtype || m_subtype == 0 || other.m_subtype == 0);
    }
    constexpr bool operator==(const element_id& other) const {
        return m_type == other.m_type && m_subtype == other.m_subtype;
    }
    constexpr bool operator!=(const element_id& other) const { return !(*this == other); }

    // A strict order by type, then subtype, for keying ordered containers.
    struct exactType {
        constexpr bool operator()(const element_id& a, const element_id& b) const {
            return a.m_type != b.m_type ? a.m_type < b.m_type : a.m_subtype < b.m_subtype;
        }
    };

private:
    UInt8 m_type;
    UInt8 m_subtype;
};

} // namespace zelvane
