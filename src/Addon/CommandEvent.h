// An add-on command called by the host or by another add-on, with its parameter list.
#pragma once

#include "Addon/HostEvent.h"
#include "Library/ParameterList.h"

namespace zelvane {

class CommandEvent : public HostEvent, public ParameterList {
public:
    static constexpr UInt32 ID = MakeGSType("CMND");

    // The parameters are unpacked from the host's handle (none without one). A command of 0 is
    // taken from the integer parameter "command_id", else Event::ID; a version of 0 from
    // "command_version", else 1.
    CommandEvent(UInt32 command, UInt32 version, GSHandle parameters, GSPtr result, bool silent,
                 Receiver* receiver = nullptr);

    UInt32 getCommand() const { return m_command; }
    UInt32 getVersion() const { return m_version; }
    // Where the command's answer is written.
    GSPtr getResult() const { return m_result; }
    bool isSilent() const { return m_silent; }

private:
    // The value of the named integer parameter, or the fallback when there is none.
    UInt32 integerParameter(const char* name, UInt32 fallback) const;

    UInt32 m_command;
    UInt32 m_version;
    GSPtr m_result; // the host's
    bool m_silent;
};

} // namespace zelvane
