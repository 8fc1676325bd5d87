#include "Addon/PaintEvent.h"

#include "DG/DGMessages.hpp"
#include "Display/NativeContext.hpp"

namespace zelvane {

namespace {

ControlLink sourceLink(const ControlLink& link, const DGUserUpdateData& update) {
    return update.itemID > 0 ? ControlLink(update.itemID, link.getPanel()) : link;
}

} // namespace

PaintEvent::PaintEvent(const ControlLink& link, const DGUserUpdateData& update, Receiver* receiver)
    : InterfaceEvent(ID, defaultMessage, sourceLink(link, update), Data(), receiver), m_update(&update) {}

PaintEvent* PaintEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 16 ? new PaintEvent(message, link, data) : nullptr;
}

NewDisplay::NativeContext* PaintEvent::getNativeContext() const {
    if (m_update == nullptr || m_update->drawContext == nullptr)
        return nullptr;
    return new NewDisplay::NativeContext(m_update->drawContext);
}

} // namespace zelvane
