#include "Addon/ModuleEvent.h"

#include "XML/PackageStore.h"
#include "XML/UnknownElements.h"

#include <memory>

namespace zelvane {

namespace {

PackageStore* copyOf(const PackageStore* store) {
    return store != nullptr ? new PackageStore(*store) : nullptr;
}

std::unique_ptr<UnknownElements> copyOf(const std::unique_ptr<UnknownElements>& kept) {
    return kept != nullptr ? std::make_unique<UnknownElements>(*kept) : nullptr;
}

} // namespace

ModuleEvent::ModuleEvent(PackageStore* store, PackageStore* otherStore, API_MDSetCmd command,
                         API_ModulData* destination, Receiver* receiver)
    : HostEvent(ID, mergeID, receiver), m_store(store), m_otherStore(otherStore), m_command(command),
      m_destination(destination), m_value(0) {}

ModuleEvent::ModuleEvent(Int32 id, Int16 value, Receiver* receiver)
    : HostEvent(ID, id, receiver), m_store(nullptr), m_otherStore(nullptr), m_command(APIMDSetMerge_TW),
      m_destination(nullptr), m_value(value) {}

ModuleEvent::ModuleEvent(const ModuleEvent& other)
    : HostEvent(other), m_store(nullptr), m_otherStore(nullptr), m_command(other.m_command),
      m_destination(other.m_destination), m_value(other.m_value), m_kept(copyOf(other.m_kept)),
      m_storeRead(other.m_storeRead), m_otherStoreRead(other.m_otherStoreRead) {
    std::unique_ptr<PackageStore> store(copyOf(other.m_store));
    m_otherStore = copyOf(other.m_otherStore);
    m_store = store.release();
}

ModuleEvent& ModuleEvent::operator=(const ModuleEvent& other) {
    if (this != &other) {
        std::unique_ptr<PackageStore> store(copyOf(other.m_store));
        std::unique_ptr<PackageStore> otherStore(copyOf(other.m_otherStore));
        std::unique_ptr<UnknownElements> kept(copyOf(other.m_kept));
        HostEvent::operator=(other);
        delete m_store;
        delete m_otherStore;
        m_store = store.release();
        m_otherStore = otherStore.release();
        m_command = other.m_command;
        m_destination = other.m_destination;
        m_value = other.m_value;
        m_kept = std::move(kept);
        m_storeRead = other.m_storeRead;
        m_otherStoreRead = other.m_otherStoreRead;
    }
    return *this;
}

void ModuleEvent::setKept(UnknownElements* kept, bool read) {
    m_kept.reset(kept);
    m_storeRead = read;
}

ModuleEvent::~ModuleEvent() {
    delete m_store;
    delete m_otherStore;
}

} // namespace zelvane
