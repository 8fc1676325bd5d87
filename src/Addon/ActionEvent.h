// A click on an item (4), or a double click (5).
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ActionEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("ACEV");
    static constexpr UInt32 defaultMessage = 0;

    explicit ActionEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ActionEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for messages 4 and 5; null for any other.
    static ActionEvent* create(UInt32 message, const ControlLink& link, const Data& data);
};

} // namespace zelvane
