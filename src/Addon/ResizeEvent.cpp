#include "Addon/ResizeEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

ResizeEvent::ResizeEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver)
    : InterfaceEvent(ID, id, link, data, receiver) {
    if (const auto* message = data.getRecord<const DGResizeMsgData>()) {
        m_record.state = UInt16(message->subMessage);
        m_record.userResize = message->userResize ? 1 : 0;
        m_record.hGrow = message->hGrow;
        m_record.vGrow = message->vGrow;
    }
}

ResizeEvent::ResizeEvent(const ControlLink& link, State state, bool userResize, Int16 hGrow, Int16 vGrow,
                         Receiver* receiver)
    : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {
    m_record.state = state;
    m_record.userResize = userResize ? 1 : 0;
    m_record.hGrow = hGrow;
    m_record.vGrow = vGrow;
}

ResizeEvent* ResizeEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 12 || message == 13 ? new ResizeEvent(message, link, data) : nullptr;
}

} // namespace zelvane
