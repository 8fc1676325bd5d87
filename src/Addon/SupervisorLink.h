// Answers the shared add-on command 'GSUP' version 1 with the supervisor of this bundle's add-on,
// so that another add-on of the framework can join it.
#pragma once

#include "Addon/CommandSubscriber.h"

namespace zelvane {

class SupervisorLink : public CommandSubscriber {
public:
    SupervisorLink();

    // Writes the global add-on's supervisor into the command's result; false for another command
    // or version, or without a result pointer or add-on.
    bool handleEvent(CommandEvent& event) override;
};

} // namespace zelvane
