#include "Addon/ModuleSubscriber.h"

#include "Addon/Addon.h"

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
    if (m_isRegistered++ > 0) {
        return true;
    }
    return ACAPI_Register_ModulDataHandler() == NoError;
}

bool ModuleSubscriber::initialise() {
    if (m_isInstalled++ > 0) {
        return true;
    }
    return ACAPI_Install_ModulDataMergeHandler(moduleCallback) == NoError;
}

GSErrCode ModuleSubscriber::moduleCallback(API_MDSetCmd, const char*, const API_ModulData*,
                                           const API_ModulData*, API_ModulData* destination) {
    // Merges are dispatched by the add-on object; outside its life there is nobody to take them.
    if (addon == nullptr) {
        return NoError;
    }
    if (destination == nullptr) {
        return APIERR_BADPARS;
    }
    return NoError;
}

} // namespace zelvane
