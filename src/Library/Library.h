// The host's loaded library of GDL parts, as the program sees it: parts found by name, unique ID,
// parent ID or built-in resource ID, and the list of loaded library folders.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Environment/String.h"
#include "Library/FamilyGuid.h"

namespace zelvane {

class ComponentLink;
class FileList;
class Project;

class Library {
public:
    // The project's library is made with kind 0; no operation reads the kind.
    Library(Project* project, int kind);
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    virtual ~Library();

    // Drops what was read from the host.
    virtual void reset();
    virtual String getDescription() const { return "Library"; }

    // The index of the part of that document name (or file name once ".gsm" is added), 0 when
    // none; type narrows the first search and receives the part's type.
    virtual Int32 getIndexByName(const String& name, API_LibTypeID& type) const;
    virtual Int32 getIndexByID(const FamilyGuid& id, API_LibTypeID& type) const;
    // The next part after start whose parent is that ID; 0 when none.
    virtual Int32 getIndexByParentID(const FamilyGuid& parent, API_LibTypeID& type, Int32 start) const;
    // The number of registered parts, whatever the type.
    virtual Int32 getCount(API_LibTypeID type = 0) const;

    // The part's default parameters: a new handle of records the caller disposes with
    // ACAPI_DisposeAddParHdl, and its two sizes into a and b when given. Null without a count or
    // when the host refuses.
    API_AddParType** getMemo(const ComponentLink& link, Int32* count, double* a, double* b) const;

    // The unique ID of the host's built-in part of a resource ID; empty when the host has none.
    FamilyGuid getBuiltinComponentID(short resourceID) const;
    Int32 getBuiltinComponentIndex(short resourceID) const;

    virtual GSErrCode getLastError() const { return m_lastError; }
    virtual void setLastError(GSErrCode err) const { m_lastError = err; }

    Project* getProject() const { return m_project; }

    // The part's type corrected by the host's subtypes of doors, labels, lamps, properties,
    // windows and zones.
    static API_LibTypeID getSubtypeID(const char* uniqueID, API_LibTypeID type);

private:
    // Searches with a zero-filled record that fill prepares; the part's index (0 when none) and
    // its corrected type.
    template <typename Fill>
    Int32 search(API_LibTypeID& type, Fill fill) const;

    Project* m_project;
    FileList* m_directories = nullptr; // made on first use
    Int64 m_embedded = -1;
    int m_kind;
    mutable GSErrCode m_lastError = NoError;
};

} // namespace zelvane
