// A click on a list header item.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ListHeaderClickEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("LHCE");
    static constexpr UInt32 defaultMessage = 23;

    explicit ListHeaderClickEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ListHeaderClickEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 23; null for any other.
    static ListHeaderClickEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The clicked header cell, 0-based; 0 without a header record.
    Int32 getCellIndex() const;
};

} // namespace zelvane
