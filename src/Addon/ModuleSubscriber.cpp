#include "Addon/ModuleSubscriber.h"

#include "Addon/Addon.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/BM.hpp"
#include "XML/PackageStore.h"

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

// Lays a module-data record over the store's packages; a malformed record leaves them as they are.
void layOver(PackageStore& store, const API_ModulData* record) {
    if (record == nullptr || record->dataHdl == nullptr) {
        return;
    }
    MemoryBlock data(*record->dataHdl, int(BMGetHandleSize(record->dataHdl)));
    store.setData(data, false);
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
    try {
        auto store = std::make_unique<PackageStore>("frameworkPreferenceStore");
        addon->getMyPrefs(*store, Addon::project, false);
        layOver(*store, original);
        auto other = std::make_unique<PackageStore>("frameworkPreferenceStore");
        addon->getMyPrefs(*other, Addon::project, true);
        layOver(*other, toMerge);
        ModuleEvent event(store.release(), other.release(), command, destination);
        addon->publishExternalEvent(event, true);
    } catch (...) {
        // Nothing could be merged; the host is still answered 0.
    }
    return NoError;
}

} // namespace zelvane
