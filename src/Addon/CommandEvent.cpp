#include "Addon/CommandEvent.h"

#include "Library/ParameterForm.h"

namespace zelvane {

CommandEvent::CommandEvent(UInt32 command, UInt32 version, GSHandle parameters, GSPtr result, bool silent,
                           Receiver* receiver)
    : HostEvent(ID, 0, receiver), m_command(command), m_version(version), m_result(result), m_silent(silent) {
    unpackParameter(parameters);
    if (m_command == 0) {
        m_command = integerParameter("command_id", Event::ID);
    }
    if (m_version == 0) {
        m_version = integerParameter("command_version", UInt32(Event::version));
    }
}

UInt32 CommandEvent::integerParameter(const char* name, UInt32 fallback) const {
    const Parameter* parameter = getParameter(String(name));
    if (auto* value = dynamic_cast<const ParameterForm<int>*>(parameter)) {
        return UInt32(value->getValue());
    }
    if (auto* value = dynamic_cast<const ParameterForm<short>*>(parameter)) {
        return UInt32(value->getValue());
    }
    return fallback;
}

} // namespace zelvane
