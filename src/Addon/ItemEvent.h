// The value of an item changed.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ItemEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("ITEV");
    static constexpr UInt32 defaultMessage = 6;

    explicit ItemEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ItemEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 6; null for any other.
    static ItemEvent* create(UInt32 message, const ControlLink& link, const Data& data);
};

} // namespace zelvane
