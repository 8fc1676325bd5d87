#include "Addon/DatabaseEvent.h"

#include "ACAPI/ElementMemo.hpp"
#include "Database/Drawing.h"
#include "Element/Element.h"
#include "Environment/MemoryBlock.h"
#include "Memo/ElementMemoStore.h"

#include <memory>

namespace zelvane {

Element* DatabaseEvent::getOriginalElement(bool withMemo) const {
    API_Element record;
    API_ElementUserData userData;
    // The store owns the memo record and frees it with its handles.
    std::unique_ptr<MemoStore> store(withMemo ? new ElementMemoStore : nullptr);
    API_ElementMemo* memo = withMemo ? static_cast<ElementMemoStore*>(store.get())->getTarget() : nullptr;
    GSErrCode err = ACAPI_Notify_GetParentElement(&record, memo, withMemo ? APIMemoMask_All : 0, &userData);
    std::unique_ptr<MemoryBlock> block(userData.dataHdl != nullptr ? new MemoryBlock(userData.dataHdl)
                                                                   : nullptr);
    if (err != NoError && err != APIERR_NOTMINE) {
        return nullptr;
    }
    ElementLink link = m_link;
    link.setHeader(record.header);
    MemoStore* given = store.get();
    std::unique_ptr<Element> element(Drawing::createElement(record, link, given));
    if (element != nullptr && block != nullptr) {
        element->setUserData(block.release());
        element->setUserDataTouched(false); // the host's own data, nothing to write back
    }
    return element.release();
}

} // namespace zelvane
