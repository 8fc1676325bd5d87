// An item is being tracked while it changes.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ChangeEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("CHEV");
    static constexpr UInt32 defaultMessage = 7;

    explicit ChangeEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ChangeEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 7; null for any other.
    static ChangeEvent* create(UInt32 message, const ControlLink& link, const Data& data);
};

} // namespace zelvane
