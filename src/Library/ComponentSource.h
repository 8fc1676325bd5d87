// The program's copy of one library part of the host library: its host record, its location and
// its link into the library.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Database/ComponentLink.h"
#include "Library/FamilyGuid.h"

namespace IO {
class Location;
}

namespace zelvane {

class DataFile;
class File;

class ComponentSource {
public:
    // A part known by its link only: marked missing, without a location.
    explicit ComponentSource(const ComponentLink& link);
    // The record copied, with a copy of its location when it names one.
    ComponentSource(const API_LibPart& record, const ComponentLink& link);
    ComponentSource(const ComponentSource& other);
    ComponentSource& operator=(const ComponentSource&) = delete;
    virtual ~ComponentSource();

    virtual ComponentSource* clone() const = 0;
    virtual Int32 getIndex() const { return m_link.getIndex(); }
    virtual FamilyGuid getUniqueID() const;
    virtual FamilyGuid getParentUniqueID() const;
    // The host record; its location is left null (the source keeps its own copy).
    virtual const API_LibPart& getData() const { return m_record; }

    const ComponentLink& getLink() const { return m_link; }
    String getName() const;
    String getFileName() const;
    // The name without its last "." and what follows.
    String getUserName() const;
    bool isTemplate() const { return m_record.isTemplate; }
    bool isPlaceable() const { return m_record.isPlaceable; }
    void setTemplate(bool isTemplate) { m_record.isTemplate = isTemplate; }
    void setPlaceable(bool isPlaceable) { m_record.isPlaceable = isPlaceable; }
    void setVersion(short version) { m_record.version = version; }
    short getVersion() const { return m_record.version; }
    // Not missing, with an index, in a library.
    bool exists() const;
    bool isDerivedFrom(const FamilyGuid& other) const;
    int compareTo(const FamilyGuid& other) const;
    // A new data file on the part's location (the caller owns it), null without one.
    DataFile* getFile() const;
    // The file's location, and its name as both the document and the file name.
    void setFile(const File& file);
    const IO::Location* getLocation() const { return m_location; }
    void setLink(const ComponentLink& link);
    void clearLink();
    void setUniqueID(const FamilyGuid& id);
    void setParentUniqueID(const FamilyGuid& id);
    void setName(const String& name);
    void setFileName(const String& name);

protected:
    API_LibPart m_record;
    IO::Location* m_location = nullptr;
    ComponentLink m_link;
};

} // namespace zelvane
