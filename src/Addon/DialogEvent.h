// A dialog-level message: opened (1), closed (3), hot key (11), grown or resized (12, 13),
// activated (14).
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class DialogEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("DIVE");
    static constexpr UInt32 defaultMessage = 14;

    explicit DialogEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    DialogEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for messages 1, 3, 11, 12, 13 and 14; null for any other.
    static DialogEvent* create(UInt32 message, const ControlLink& link, const Data& data);
};

} // namespace zelvane
