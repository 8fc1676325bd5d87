// A user item must be drawn.
#pragma once

#include "Addon/InterfaceEvent.h"

struct DGUserUpdateData;
namespace NewDisplay {
class NativeContext;
}

namespace zelvane {

class PaintEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("PAEV");
    static constexpr UInt32 defaultMessage = 16;

    explicit PaintEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    // Made from a message number, the event has no update record.
    PaintEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}
    // From the host's update message: the link names the message's item when it has one.
    PaintEvent(const ControlLink& link, const DGUserUpdateData& update, Receiver* receiver = nullptr);

    // A new event (the caller deletes it) for message 16; null for any other.
    static PaintEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // The host's update record; null when the event was made from a message number.
    const DGUserUpdateData* getUpdateData() const { return m_update; }
    // A new drawing surface over the update record's drawing context (the caller deletes it); null
    // without an update record or drawing context.
    NewDisplay::NativeContext* getNativeContext() const;

private:
    const DGUserUpdateData* m_update = nullptr; // the host's
};

} // namespace zelvane
