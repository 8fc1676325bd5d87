#include "Database/ComponentLink.h"

#include "Environment/Host.h"
#include "Library/FamilyGuid.h"
#include "Library/Library.h"

namespace zelvane {

namespace {

// The given library, or the project's when none is given.
const Library* libraryOr(const Library* library) {
    return library != nullptr ? library : host.getFrontLibrary();
}

} // namespace

ComponentLink::ComponentLink(const API_LibPart& part, const Library* library)
    : m_type(part.typeID), m_index(part.index), m_library(part.index != 0 ? libraryOr(library) : library) {}

ComponentLink::ComponentLink(Int32 index, API_LibTypeID type, const Library* library)
    : m_type(type), m_index(index), m_library(index != 0 ? libraryOr(library) : library) {}

ComponentLink::ComponentLink(const String& name, API_LibTypeID type, const Library* library)
    : m_type(type), m_library(libraryOr(library)) {
    if (m_library != nullptr) {
        API_LibTypeID found = type;
        m_index = m_library->getIndexByName(name, found);
        if (found != 0) {
            m_type = found;
        }
    }
}

ComponentLink::ComponentLink(const FamilyGuid& id, API_LibTypeID type, const Library* library)
    : m_type(type), m_library(libraryOr(library)) {
    if (m_library != nullptr) {
        API_LibTypeID found = type;
        m_index = m_library->getIndexByID(id, found);
        if (found != 0) {
            m_type = found;
        }
    }
}

ComponentLink& ComponentLink::operator=(const API_LibPart& part) {
    m_type = part.typeID;
    m_index = part.index;
    m_library = nullptr;
    return *this;
}

} // namespace zelvane
