#include "Addon/ListHeaderClickEvent.h"

#include "DG/DGMessages.hpp"

namespace zelvane {

ListHeaderClickEvent* ListHeaderClickEvent::create(UInt32 message, const ControlLink& link,
                                                   const Data& data) {
    return message == 23 ? new ListHeaderClickEvent(message, link, data) : nullptr;
}

Int32 ListHeaderClickEvent::getCellIndex() const {
    const auto* record = getDataWord().getRecord<const DGListHeaderMsgData>();
    return record != nullptr ? record->itemIndex - 1 : 0;
}

} // namespace zelvane
