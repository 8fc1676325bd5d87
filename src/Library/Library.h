// The host's loaded library of GDL parts, as the program sees it: parts found by name, unique ID,
// parent ID or built-in resource ID, walked through a filter, made into typed sources through a
// registry of factories by part type, registered, created and updated; and the list of loaded
// library folders.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Database/ComponentLink.h"
#include "Environment/IteratorBase.h"
#include "Environment/String.h"
#include "Environment/Vector.h"
#include "Library/ComponentSource.h"
#include "Library/FamilyGuid.h"
#include "Library/LibraryFilter.h"

#include <map>

namespace zelvane {

class DataFile;
class Directory;
class File;
class FileList;
class Project;

// Owning list of part links.
class ComponentRefList : public Vector<ComponentLink> {
public:
    using Vector<ComponentLink>::Vector;
};

// Part types in walking order: 0 to 12, 12 followed by 0 (skylights, 13, lie outside).
API_LibTypeID nextLibType(API_LibTypeID type);
API_LibTypeID previousLibType(API_LibTypeID type);

class Library {
public:
    using Filter = LibraryFilter;
    using Factory = ComponentSource* (*)(const API_LibPart& record, const ComponentLink& link);
    // Factories by part type, tried in the order they were added.
    class CreatorList : public std::multimap<API_LibTypeID, Factory> {};
    using iterator = Iterator<Library, ComponentSource, ComponentLink, Filter, ComponentRefList>;
    using reverse_iterator =
        ReverseIterator<Library, ComponentSource, ComponentLink, Filter, ComponentRefList>;

    // The project's library is made with kind 0; no operation reads the kind.
    Library(Project* project, int kind);
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    virtual ~Library();

    // The factory registries: made and filled with the sources of every part type, and freed.
    static void startup();
    static void shutdown();
    // Adds a factory tried before the sources' own.
    static void addAdapter(API_LibTypeID type, Factory factory);
    // A new source of the record through the factories (null when none makes one); the record's
    // and the link's type are corrected by the host's subtypes, and the record's location goes.
    static ComponentSource* createComponent(API_LibPart& record, ComponentLink& link);

    // Drops what was read from the host.
    virtual void reset();
    virtual String getDescription() const { return "Library"; }
    // A new source of the part (the caller owns it), or null.
    virtual ComponentSource* operator[](const ComponentLink& link) const { return load(link, nullptr); }
    bool contains(const ComponentLink& link) const;

    // The index of the part of that document name (or file name once ".gsm" is added), 0 when
    // none; type narrows the first search and receives the part's type.
    virtual Int32 getIndexByName(const String& name, API_LibTypeID& type) const;
    virtual Int32 getIndexByID(const FamilyGuid& id, API_LibTypeID& type) const;
    // The next part after start whose parent is that ID; 0 when none.
    virtual Int32 getIndexByParentID(const FamilyGuid& parent, API_LibTypeID& type, Int32 start) const;
    // Appends the links of the parent's children; the list's size, or 0 when the parent does
    // not load.
    std::size_t getChildrenOf(const ComponentLink& parent, ComponentRefList& children) const;
    // Writes the source into the library: a new part for a source of no (or another) library,
    // else an update of its sections. False on failure (getLastError tells the host's error).
    virtual bool put(ComponentSource& source);
    // Registers a part file of the type; a new source of it, or null.
    ComponentSource* add(API_LibTypeID type, const DataFile& file, Int32 ownerID);
    // The number of registered parts, whatever the type.
    virtual Int32 getCount(API_LibTypeID type = 0) const;

    virtual GSErrCode getLastError() const { return m_lastError; }
    virtual void setLastError(GSErrCode err) const { m_lastError = err; }

    // Walks in the filter's order: forward from the first part, backward from the last but one.
    // With autoWrite a forward walk puts each part it leaves back into the library; a backward
    // walk always does.
    iterator begin(bool autoWrite, const Filter& filter);
    reverse_iterator rbegin(const Filter& filter);
    iterator end() const { return iterator(); }
    reverse_iterator rend() const { return reverse_iterator(); }
    // The next part after the link that the filter passes (a new source), or null.
    virtual ComponentSource* seekNext(const ComponentLink& link, bool forward, const Filter& filter) const;
    // A new source of the link's part when the filter (if any) passes it, else null.
    virtual ComponentSource* load(const ComponentLink& link, const Filter* filter) const;

    // The part's default parameters: a new handle of records the caller disposes with
    // ACAPI_DisposeAddParHdl, and its two sizes into a and b when given. Null without a count or
    // when the host refuses.
    API_AddParType** getMemo(const ComponentLink& link, Int32* count, double* a, double* b) const;

    // The unique ID of the host's built-in part of a resource ID; empty when the host has none.
    FamilyGuid getBuiltinComponentID(short resourceID) const;
    Int32 getBuiltinComponentIndex(short resourceID) const;

    // The loaded library folders, read on first use.
    const FileList& getDirectories() const;
    // The embedded library folder (a new directory the caller owns), or null.
    Directory* getEmbeddedDirectory() const;
    bool contains(const File& file) const;
    bool isMyDirectory(const File& file) const;
    bool setDirectories(const FileList& directories);
    bool addDirectory(const Directory& directory);
    // Has the host load its library folders again.
    bool reload();

    Project* getProject() const { return m_project; }

    // The part's type corrected by the host's subtypes of doors, labels, lamps, properties,
    // windows and zones.
    static API_LibTypeID getSubtypeID(const char* uniqueID, API_LibTypeID type);

private:
    template <typename Fill>
    Int32 search(API_LibTypeID& type, Fill fill) const;
    bool create(class ParametricSource& source);
    bool update(class ParametricSource& source);

    static CreatorList* m_creator_;
    static CreatorList* m_adapter_;

    Project* m_project;
    mutable FileList* m_directories = nullptr;
    mutable Int64 m_embedded = -1;
    int m_kind;
    mutable GSErrCode m_lastError = NoError;
};

// Iterators write a part back through its own library.
template <>
struct IteratorAccess<Library, ComponentSource, ComponentLink, Library::Filter> {
    static Library* source(const ComponentLink& link) { return link.getLibrary(); }
    static const ComponentLink& link(const ComponentSource& item) { return item.getLink(); }
    static ComponentSource* load(Library& library, const ComponentLink& link, const Library::Filter& filter) {
        return library.load(link, &filter);
    }
    static ComponentSource* seekNext(Library& library, const ComponentLink& link, bool forward,
                                     const Library::Filter& filter) {
        return library.seekNext(link, forward, filter);
    }
    static bool put(Library& library, ComponentSource& item) { return library.put(item); }
};

} // namespace zelvane
