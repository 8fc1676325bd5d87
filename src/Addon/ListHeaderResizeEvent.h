// A list header item is being resized.
#pragma once

#include "Addon/InterfaceEvent.h"
#include "Interface/ScreenPoint.h"

namespace zelvane {

class ListHeaderResizeEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("LHRE");
    static constexpr UInt32 defaultMessage = 25;

    explicit ListHeaderResizeEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ListHeaderResizeEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 25; null for any other.
    static ListHeaderResizeEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The resized cell, 0-based; 0 without a header record.
    Int32 getCellIndex() const;
    // The width change as x (y is 0); the origin without a header record.
    ScreenPoint getDelta() const;
    // The drag status; 2 without a header record, and a status of 0 is reported as 2.
    Int32 getStatus() const;
};

} // namespace zelvane
