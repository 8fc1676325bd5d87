// A project notification of the host (new, open, save, close, quit ...).
#pragma once

#include "Addon/HostEvent.h"

namespace zelvane {

class ProjectEvent : public HostEvent {
public:
    static constexpr UInt32 ID = MakeGSType("PRJT");

    explicit ProjectEvent(Int32 notification, Receiver* receiver = nullptr)
        : HostEvent(ID, notification, receiver) {}
};

} // namespace zelvane
