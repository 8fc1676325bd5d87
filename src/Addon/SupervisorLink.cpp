#include "Addon/SupervisorLink.h"

#include "Addon/Addon.h"
#include "Addon/Supervisor.h"

namespace zelvane {

SupervisorLink::SupervisorLink() : CommandSubscriber(Supervisor::ID, Supervisor::version) {}

bool SupervisorLink::handleEvent(CommandEvent& event) {
    if (event.getCommand() != Supervisor::ID || event.getVersion() != UInt32(Supervisor::version) ||
        event.getResult() == nullptr || addon == nullptr) {
        return false;
    }
    *reinterpret_cast<Supervisor**>(event.getResult()) = &addon->getSupervisor();
    return true;
}

} // namespace zelvane
