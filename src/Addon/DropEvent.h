// A drag over, or a drop on, an item or a panel. The data is the host's drag-and-drop record,
// through which handlers answer.
#pragma once

#include "Addon/InterfaceEvent.h"
#include "Interface/ScreenPoint.h"

struct DGDragDropMsgData;

namespace zelvane {

class DropEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("DEVT");
    static constexpr UInt32 defaultMessage = 17;

    explicit DropEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    DropEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 17; null for any other.
    static DropEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The mouse position of the record; the origin without one.
    ScreenPoint getMousePosition() const;
    // The host's record; null when the data holds none.
    DGDragDropMsgData* getDragData() const;
    // Answers through the record; without one they do nothing.
    void denyFeedback(Int16 value = 1);
    void setEffect(Int32 effect);
    void setRightDragMenu(bool on);
};

} // namespace zelvane
