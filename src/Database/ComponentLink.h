// Names one library part of a library: its type, its index (0: none) and the library.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Environment/String.h"

namespace zelvane {

class FamilyGuid;
class Library;

class ComponentLink {
public:
    ComponentLink() = default;
    // The record's type and index. Without a library given, a link that names a part belongs to
    // the project's library.
    ComponentLink(const API_LibPart& part, const Library* library);
    ComponentLink(Int32 index, API_LibTypeID type, const Library* library);
    // The part found in the library (the project's when none is given) by name or unique ID
    // (index 0 when none); the type found replaces the given one unless it is 0.
    ComponentLink(const String& name, API_LibTypeID type, const Library* library);
    ComponentLink(const FamilyGuid& id, API_LibTypeID type, const Library* library);
    ComponentLink(const ComponentLink&) = default;
    ComponentLink& operator=(const ComponentLink&) = default;
    virtual ~ComponentLink() = default;

    virtual ComponentLink* clone() const { return new ComponentLink(*this); }

    // The record's type and index, and no library.
    ComponentLink& operator=(const API_LibPart& part);
    bool operator==(const ComponentLink& other) const {
        return m_type == other.m_type && m_index == other.m_index && m_library == other.m_library;
    }
    bool operator!=(const ComponentLink& other) const { return !(*this == other); }

    bool isValid() const { return m_index != 0; }
    API_LibTypeID getType() const { return m_type; }
    void setType(API_LibTypeID type) { m_type = type; }
    Int32 getIndex() const { return m_index; }
    void setIndex(Int32 index) { m_index = index; }
    Library* getLibrary() const { return const_cast<Library*>(m_library); }
    void setLibrary(const Library* library) { m_library = library; }
    // The library the link belongs to (the iterators' name for it).
    Library* getSource() const { return getLibrary(); }

private:
    API_LibTypeID m_type = 0;
    Int32 m_index = 0;
    const Library* m_library = nullptr;
};

} // namespace zelvane
