// A splitter is being dragged.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class SplitterDragEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("SDEV");
    static constexpr UInt32 defaultMessage = 27;

    explicit SplitterDragEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    SplitterDragEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 27; null for any other.
    static SplitterDragEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The splitter position; 0 without a splitter record.
    Int32 getPosition() const;
    // The drag status; 2 without a splitter record.
    Int32 getDragStatus() const;
};

} // namespace zelvane
