#include "Addon/CommandSubscriber.h"

#include "Addon/Addon.h"

namespace zelvane {

void CommandSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(HostEvent::ID, CommandEvent::ID));
}

bool CommandSubscriber::takeEvent(Event& event) {
    auto* command = dynamic_cast<CommandEvent*>(&event);
    return command != nullptr && command->getCommand() == m_command && handleEvent(*command);
}

bool CommandSubscriber::registerInterface() {
    return ACAPI_Register_SupportedService(m_command, m_version) == NoError;
}

bool CommandSubscriber::initialise() {
    return ACAPI_Install_ModulCommandHandler(m_command, m_version, commandCallback) == NoError;
}

GSErrCode CommandSubscriber::commandCallback(GSHandle, GSPtr, bool) {
    // Command events are dispatched by the add-on object; outside its life there is nobody to
    // take them, and the host is answered 0 whatever happens.
    if (addon == nullptr) {
        return NoError;
    }
    return NoError;
}

} // namespace zelvane
