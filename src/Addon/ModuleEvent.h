// A module-data merge of the host: the add-on's project preferences as the project held them
// before the merge, and the preferences to merge in, each read into a package store.
#pragma once

#include "ACAPI/ModuleData.hpp"
#include "Addon/HostEvent.h"

#include <memory>

namespace zelvane {

class PackageStore;
class UnknownElements;

class ModuleEvent : public HostEvent {
public:
    static constexpr UInt32 ID = MakeGSType("MDAT");
    // The id of a merge.
    static constexpr Int32 mergeID = 1;

    // A merge: takes both stores (either may be null); the destination record stays the host's.
    ModuleEvent(PackageStore* store, PackageStore* otherStore, API_MDSetCmd command,
                API_ModulData* destination, Receiver* receiver = nullptr);
    // An event of another id, with a value of its own.
    ModuleEvent(Int32 id, Int16 value, Receiver* receiver = nullptr);
    // Copies copy both stores and what is kept.
    ModuleEvent(const ModuleEvent& other);
    ModuleEvent& operator=(const ModuleEvent& other);
    ~ModuleEvent() override;

    // The current project preferences with the project's module data laid over them.
    PackageStore* getStore() const { return m_store; }
    // Empty copies of the project preferences with the module data to merge laid over them.
    PackageStore* getOtherStore() const { return m_otherStore; }
    API_MDSetCmd getCommand() const { return m_command; }
    // The host's record that receives the merged data.
    API_ModulData* getDestination() const { return m_destination; }
    Int16 getValue() const { return m_value; }
    // What the project's data laid over the first store held that no package takes (taken; null
    // when the event carries none), and whether that data could be read: data that could not be
    // read is not to be written over.
    void setKept(UnknownElements* kept, bool read);
    const UnknownElements* getKept() const { return m_kept.get(); }
    bool isStoreRead() const { return m_storeRead; }
    // Whether the module data to merge in could be read: the other store holds nothing of data
    // that could not.
    void setOtherStoreRead(bool read) { m_otherStoreRead = read; }
    bool isOtherStoreRead() const { return m_otherStoreRead; }

private:
    PackageStore* m_store;      // owned
    PackageStore* m_otherStore; // owned
    API_MDSetCmd m_command;
    API_ModulData* m_destination; // the host's
    Int16 m_value;
    std::unique_ptr<UnknownElements> m_kept;
    bool m_storeRead = true;
    bool m_otherStoreRead = true;
};

} // namespace zelvane
