// Takes the calls of one add-on command, and registers the command and its handler with the
// host.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/CommandEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class CommandSubscriber : public virtual Subscriber {
public:
    CommandSubscriber(UInt32 command, Int32 version) : m_command(command), m_version(version) {}

    void getSpec(std::vector<EventSpec>& specs) const override;
    // A command event of this command goes to handleEvent, whatever its version.
    bool takeEvent(Event& event) override;
    virtual bool handleEvent(CommandEvent& event) = 0;
    // Registers the command as a supported service; true when the host accepts it.
    bool registerInterface() override;
    // Installs the command callback; true when the host accepts it.
    bool initialise() override;

    UInt32 getCommand() const { return m_command; }
    Int32 getVersion() const { return m_version; }

    // The host's add-on command callback: answers 0 whatever happens inside.
    static GSErrCode commandCallback(GSHandle parameters, GSPtr result, bool silent);

private:
    UInt32 m_command;
    Int32 m_version;
};

} // namespace zelvane
