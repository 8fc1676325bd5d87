#include "Addon/ProjectSubscriber.h"

#include "Addon/Addon.h"

namespace zelvane {

bool ProjectSubscriber::isInstalled = false;

void ProjectSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(HostEvent::ID, ProjectEvent::ID));
}

bool ProjectSubscriber::takeEvent(Event& event) {
    auto* projectEvent = dynamic_cast<ProjectEvent*>(&event);
    return projectEvent != nullptr && handleEvent(*projectEvent);
}

bool ProjectSubscriber::initialise() {
    if (isInstalled) {
        return true;
    }
    // A handler the host refused is not installed: the next initialisation tries again.
    isInstalled = ACAPI_Notify_CatchProjectEvent(notificationMask, projectCallback) == NoError;
    return isInstalled;
}

GSErrCode ProjectSubscriber::projectCallback(API_NotifyEventID notification, Int32) {
    // Outside the add-on object's life there is nobody to take the event; the host is answered 0
    // whatever happens. A notification nests inside a running command, so the depth is not reset.
    if (addon == nullptr) {
        return NoError;
    }
    try {
        ProjectEvent event{Int32(notification)};
        addon->publishExternalEvent(event, false);
    } catch (...) {
    }
    return NoError;
}

} // namespace zelvane
