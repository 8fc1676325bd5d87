#include "Addon/DropEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

DropEvent* DropEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 17 ? new DropEvent(message, link, data) : nullptr;
}

ScreenPoint DropEvent::getMousePosition() const {
    const auto* record = getDataWord().getRecord<const DGDragDropMsgData>();
    return record != nullptr ? ScreenPoint(record->x, record->y) : ScreenPoint();
}

DGDragDropMsgData* DropEvent::getDragData() const {
    return getDataWord().getRecord<DGDragDropMsgData>();
}

void DropEvent::denyFeedback(Int16 value) {
    if (DGDragDropMsgData* record = getDragData()) {
        record->denyFeedback = value;
    }
}

void DropEvent::setEffect(Int32 effect) {
    if (DGDragDropMsgData* record = getDragData()) {
        record->effect = effect;
    }
}

void DropEvent::setRightDragMenu(bool on) {
    if (DGDragDropMsgData* record = getDragData()) {
        record->rightDragMenu = on;
    }
}

} // namespace zelvane
