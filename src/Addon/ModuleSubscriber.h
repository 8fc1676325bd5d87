// Takes the module-data merges of the host, and registers the module-data handler and installs
// the merge handler once per bundle.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/ModuleEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class ModuleSubscriber : public virtual Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override;
    // Any module event goes to handleEvent.
    bool takeEvent(Event& event) override;
    // The first registration of the bundle registers the module-data handler with the host.
    bool registerInterface() override;
    // The first initialisation of the bundle installs the merge handler.
    bool initialise() override;
    virtual bool handleEvent(ModuleEvent& event) = 0;

    // The host's module-data merge callback: answers 0 whatever happens inside, and an error when
    // the host gives no destination record.
    static GSErrCode moduleCallback(API_MDSetCmd command, const char* name, const API_ModulData* original,
                                    const API_ModulData* toMerge, API_ModulData* destination);

    // How often the handler was registered and the merge handler installed in the bundle.
    static Int16 m_isRegistered;
    static Int16 m_isInstalled;
};

} // namespace zelvane
