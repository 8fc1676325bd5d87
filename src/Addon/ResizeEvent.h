// A dialog or panel is being resized.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class ResizeEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("RSEV");
    static constexpr UInt32 defaultMessage = 13;

    // The phase of a resize, as the panel reports it.
    enum State : UInt16 { resizeEntered = 0, resizing = 1, resizeExited = 2 };

    struct Record {
        UInt16 state = 0;
        UInt8 userResize = 0;
        Int16 hGrow = 0;
        Int16 vGrow = 0;
    };

    explicit ResizeEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    // The record is copied from the host's resize message record the data holds, else zero.
    ResizeEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr);
    // From a panel's resize notification.
    ResizeEvent(const ControlLink& link, State state, bool userResize, Int16 hGrow, Int16 vGrow,
                Receiver* receiver = nullptr);

    // A new event (the caller deletes it) for messages 12 and 13; null for any other.
    static ResizeEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    const Record& getRecord() const { return m_record; }
    State getState() const { return State(m_record.state); }
    bool isUserResize() const { return m_record.userResize != 0; }
    Int16 getHGrow() const { return m_record.hGrow; }
    Int16 getVGrow() const { return m_record.vGrow; }

private:
    Record m_record;
};

} // namespace zelvane
