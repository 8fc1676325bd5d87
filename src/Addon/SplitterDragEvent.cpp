#include "Addon/SplitterDragEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

SplitterDragEvent* SplitterDragEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 27 ? new SplitterDragEvent(message, link, data) : nullptr;
}

Int32 SplitterDragEvent::getPosition() const {
    const auto* record = getDataWord().getRecord<const DGSplitterMsgData>();
    return record != nullptr ? record->position : 0;
}

Int32 SplitterDragEvent::getDragStatus() const {
    const auto* record = getDataWord().getRecord<const DGSplitterMsgData>();
    return record != nullptr ? record->dragStatus : 2;
}

} // namespace zelvane
