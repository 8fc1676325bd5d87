// The mouse moved over an item.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class MoveEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("MOES");
    static constexpr UInt32 defaultMessage = 8;

    explicit MoveEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    MoveEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 8; null for any other.
    static MoveEvent* create(UInt32 message, const ControlLink& link, const Data& data);
};

} // namespace zelvane
