// A list header item was dragged to a new position.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ListHeaderDragEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("LHDE");
    static constexpr UInt32 defaultMessage = 24;

    explicit ListHeaderDragEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    ListHeaderDragEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 24; null for any other.
    static ListHeaderDragEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The dragged cell's old and new positions, 0-based; 0 without a header record.
    Int32 getCellIndex() const;
    Int32 getNewCellIndex() const;
};

} // namespace zelvane
