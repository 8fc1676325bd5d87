#include "Addon/ListHeaderDragEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

ListHeaderDragEvent* ListHeaderDragEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 24 ? new ListHeaderDragEvent(message, link, data) : nullptr;
}

Int32 ListHeaderDragEvent::getCellIndex() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr ? record->itemIndex - 1 : 0;
}

Int32 ListHeaderDragEvent::getNewCellIndex() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr ? record->newIndex - 1 : 0;
}

} // namespace zelvane
