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
    isInstalled = true;
    return ACAPI_Notify_CatchProjectEvent(notificationMask, projectCallback) == NoError;
}

GSErrCode ProjectSubscriber::projectCallback(API_NotifyEventID, Int32) {
    // Project events are dispatched by the add-on object; outside its life there is nobody to
    // take them, and the host is answered 0 whatever happens.
    if (addon == nullptr) {
        return NoError;
    }
    return NoError;
}

} // namespace zelvane
