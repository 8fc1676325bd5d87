// An event made from a host callback: a project notification, module-data merge, menu or add-on
// command, element-database notification or file event.
#pragma once

#include "Addon/Event.h"

namespace zelvane {

class HostEvent : public Event {
public:
    static constexpr UInt32 ID = MakeGSType("HOST");

    HostEvent(UInt32 kind, Int32 id, Receiver* receiver = nullptr)
        : Event(EventSpec(ID, kind), receiver), m_id(id) {}

    // The host's notification, command or message number for this kind.
    Int32 getID() const { return m_id; }

private:
    Int32 m_id;
};

} // namespace zelvane
