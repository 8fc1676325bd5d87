#include "Library/ComponentSource.h"

#include "Environment/DataFile.h"
#include "IO/Location.hpp"

#include <cstring>

namespace zelvane {

namespace {

IO::Location* copyOf(const IO::Location* location) {
    return location != nullptr && !location->IsEmpty() ? new IO::Location(*location) : nullptr;
}

} // namespace

ComponentSource::ComponentSource(const ComponentLink& link) : m_record(), m_link(link) {
    m_record.typeID = link.getType();
    m_record.index = link.getIndex();
    m_record.missingDef = true;
}

ComponentSource::ComponentSource(const API_LibPart& record, const ComponentLink& link)
    : m_record(record), m_location(copyOf(record.location)), m_link(link) {
    m_record.location = nullptr;
}

ComponentSource::ComponentSource(const ComponentSource& other)
    : m_record(other.m_record), m_location(copyOf(other.m_location)), m_link(other.m_link) {}

ComponentSource::~ComponentSource() {
    delete m_location;
}

FamilyGuid ComponentSource::getUniqueID() const {
    return FamilyGuid(String(m_record.ownUnID, unsigned(strnlen(m_record.ownUnID, sizeof m_record.ownUnID))));
}

FamilyGuid ComponentSource::getParentUniqueID() const {
    return FamilyGuid(
        String(m_record.parentUnID, unsigned(strnlen(m_record.parentUnID, sizeof m_record.parentUnID))));
}

String ComponentSource::getName() const {
    return String(m_record.docu_UName, unsigned(sizeof m_record.docu_UName));
}

String ComponentSource::getFileName() const {
    return String(m_record.file_UName, unsigned(sizeof m_record.file_UName));
}

String ComponentSource::getUserName() const {
    String name = getName();
    unsigned int dot = name.rfind(".");
    return dot == String::npos ? name : name.substr(0, dot);
}

bool ComponentSource::exists() const {
    return !m_record.missingDef && m_link.isValid() && m_link.getLibrary() != nullptr;
}

bool ComponentSource::isDerivedFrom(const FamilyGuid& other) const {
    return getUniqueID().isDerivedFrom(other);
}

int ComponentSource::compareTo(const FamilyGuid& other) const {
    return getUniqueID().compareTo(other);
}

DataFile* ComponentSource::getFile() const {
    return m_location != nullptr ? new DataFile(*m_location, DataFile::readOnly, false) : nullptr;
}

void ComponentSource::setFile(const File& file) {
    delete m_location;
    m_location = nullptr;
    IO::Location location = file.getLocation();
    m_location = copyOf(&location);
    String name = file.getName();
    setName(name);
    setFileName(name);
}

void ComponentSource::setLink(const ComponentLink& link) {
    m_link = link;
    m_record.index = link.getIndex();
}

void ComponentSource::clearLink() {
    m_link.setIndex(0);
    m_link.setLibrary(nullptr);
}

void ComponentSource::setUniqueID(const FamilyGuid& id) {
    id.copyTo(m_record.ownUnID, sizeof m_record.ownUnID);
}

void ComponentSource::setParentUniqueID(const FamilyGuid& id) {
    id.copyTo(m_record.parentUnID, sizeof m_record.parentUnID);
}

void ComponentSource::setName(const String& name) {
    name.copyTo(m_record.docu_UName, sizeof m_record.docu_UName);
}

void ComponentSource::setFileName(const String& name) {
    name.copyTo(m_record.file_UName, sizeof m_record.file_UName);
}

} // namespace zelvane
