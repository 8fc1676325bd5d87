// Takes the host's project notifications, and installs the project-notification handler once per
// bundle.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/ProjectEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class ProjectSubscriber : public virtual Subscriber {
public:
    // The notifications the project handler is installed for.
    static constexpr GSFlags notificationMask = 0x033D8FFF;

    void getSpec(std::vector<EventSpec>& specs) const override;
    // Any project event goes to handleEvent.
    bool takeEvent(Event& event) override;
    // Installs the project handler unless it is installed already.
    bool initialise() override;
    virtual bool handleEvent(ProjectEvent& event) = 0;

    // The host's project callback: answers 0 whatever happens inside.
    static GSErrCode projectCallback(API_NotifyEventID notification, Int32 param);

    // Whether the bundle's project handler is installed.
    static bool isInstalled;
};

} // namespace zelvane
