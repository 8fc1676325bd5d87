#include "Addon/ListHeaderResizeEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

ListHeaderResizeEvent* ListHeaderResizeEvent::create(UInt32 message, const ControlLink& link,
                                                     const Data& data) {
    return message == 25 ? new ListHeaderResizeEvent(message, link, data) : nullptr;
}

Int32 ListHeaderResizeEvent::getCellIndex() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr ? record->itemIndex - 1 : 0;
}

ScreenPoint ListHeaderResizeEvent::getDelta() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr ? ScreenPoint(record->sizeChange, 0) : ScreenPoint();
}

Int32 ListHeaderResizeEvent::getStatus() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr && record->subMessage != 0 ? record->subMessage : 2;
}

} // namespace zelvane
