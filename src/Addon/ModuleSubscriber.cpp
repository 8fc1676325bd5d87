#include "Addon/ModuleSubscriber.h"

#include "Addon/Addon.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/BM.hpp"
#include "XML/PackageStore.h"
#include "XML/UnknownElements.h"

#include <cstring>
#include <memory>

namespace zelvane {

Int16 ModuleSubscriber::m_isRegistered = 0;
Int16 ModuleSubscriber::m_isInstalled = 0;

void ModuleSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(HostEvent::ID, ModuleEvent::ID));
}

bool ModuleSubscriber::takeEvent(Event& event) {
    auto* moduleEvent = dynamic_cast<ModuleEvent*>(&event);
    return moduleEvent != nullptr && handleEvent(*moduleEvent);
}

bool ModuleSubscriber::registerInterface() {
    // Only a handler the host took is counted, so that a refusal is not taken for a registration.
    if (m_isRegistered == 0 && ACAPI_Register_ModulDataHandler() != NoError) {
        return false;
    }
    ++m_isRegistered;
    return true;
}

bool ModuleSubscriber::initialise() {
    if (m_isInstalled == 0 && ACAPI_Install_ModulDataMergeHandler(moduleCallback) != NoError) {
        return false;
    }
    ++m_isInstalled;
    return true;
}

namespace {

// Lays a module-data record over the store's packages, `kept` (where given) receiving what it
// holds that no package takes; a malformed record leaves them as they are and answers false.
bool layOver(PackageStore& store, const API_ModulData* record, UnknownElements* kept = nullptr) {
    if (record == nullptr || record->dataHdl == nullptr) {
        return true;
    }
    MemoryBlock data(*record->dataHdl, int(BMGetHandleSize(record->dataHdl)));
    return store.setData(data, false, kept);
}

// Gives the destination a copy of the record's data; false when it could not be copied.
bool copyRecord(const API_ModulData& record, API_ModulData& destination) {
    GSSize size = BMGetHandleSize(record.dataHdl);
    GSHandle copy = BMAllocateHandle(size, 0, 0);
    if (copy == nullptr) {
        return false;
    }
    if (size > 0) {
        std::memcpy(*copy, *record.dataHdl, std::size_t(size));
    }
    if (destination.dataHdl != nullptr) {
        BMKillHandle(&destination.dataHdl);
    }
    destination.dataHdl = copy;
    destination.dataVersion = record.dataVersion;
    destination.platformSign = record.platformSign;
    return true;
}

} // namespace

GSErrCode ModuleSubscriber::moduleCallback(API_MDSetCmd command, const char*, const API_ModulData* original,
                                           const API_ModulData* toMerge, API_ModulData* destination) {
    // Merges are dispatched by the add-on object; outside its life there is nobody to take them.
    if (addon == nullptr) {
        return NoError;
    }
    if (destination == nullptr) {
        return APIERR_BADPARS;
    }
    // The destination holds the project's own data until a merge replaces it, so that data that
    // cannot be read, or a merge failing at any point, leaves the project what it had.
    if (original != nullptr && original->dataHdl != nullptr && !copyRecord(*original, *destination)) {
        return APIERR_MEMFULL;
    }
    try {
        auto store = std::make_unique<PackageStore>("frameworkPreferenceStore");
        addon->getMyPrefs(*store, Addon::project, false);
        auto kept = std::make_unique<UnknownElements>();
        bool read = layOver(*store, original, kept.get());
        auto other = std::make_unique<PackageStore>("frameworkPreferenceStore");
        addon->getMyPrefs(*other, Addon::project, true);
        // Data to merge in that cannot be read gives nothing: the empty copies stay empty.
        bool otherRead = layOver(*other, toMerge);
        ModuleEvent event(store.release(), other.release(), command, destination);
        event.setKept(kept.release(), read);
        event.setOtherStoreRead(otherRead);
        addon->publishExternalEvent(event, true);
    } catch (...) {
        // Nothing could be merged, which the user is told; the host is still answered 0.
        try {
            addon->reportUnexpectedFailure();
        } catch (...) {
        }
    }
    return NoError;
}

} // namespace zelvane
