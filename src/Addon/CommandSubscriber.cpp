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

GSErrCode CommandSubscriber::commandCallback(GSHandle parameters, GSPtr result, bool silent) {
    // Outside the add-on object's life there is nobody to take the event; the host is answered 0
    // whatever happens. The command and version come from the parameters.
    if (addon == nullptr) {
        return NoError;
    }
    try {
        CommandEvent event(0, 0, parameters, result, silent);
        addon->publishExternalEvent(event, true);
    } catch (...) {
        // Unpacking the parameters ran out of memory: nothing was dispatched.
    }
    return NoError;
}

} // namespace zelvane
