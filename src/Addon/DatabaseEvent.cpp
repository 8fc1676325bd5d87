#include "Addon/DatabaseEvent.h"

#include "Database/Drawing.h"

namespace zelvane {

Element* DatabaseEvent::getOriginalElement(bool withMemo) const {
    // The element objects made here do not take user data yet, so none is asked for.
    API_Element record;
    GSErrCode err = ACAPI_Notify_GetParentElement(&record, withMemo ? ~API_ElemMemoMask(0) : 0, nullptr);
    if (err != NoError && err != APIERR_NOTMINE) {
        return nullptr;
    }
    ElementLink link = m_link;
    link.setHeader(record.header);
    return Drawing::createElement(record, link);
}

} // namespace zelvane
