#include "ACAPI/ElementTable.hpp"
#include "ACAPI/Selection.hpp"
#include "Database/BaseElemSelection.h"
#include "Database/CutPlane.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Environment/Memory.h"

#include <memory>

namespace zelvane {

namespace {

struct HandleFree {
    void operator()(void* handle) const {
        char** block = static_cast<char**>(handle);
        disposeHandle(&block);
    }
};

} // namespace

bool Drawing::checkSelection() {
    if (m_selection != nullptr) {
        return true;
    }
    if (!activate()) {
        return false;
    }
    API_SelectionInfo info;
    API_Neig** neigs = nullptr;
    GSErrCode err = ACAPI_Selection_Get(&info, &neigs, false, true, 0);
    std::unique_ptr<void, HandleFree> held(neigs);
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    m_isMarquee = info.typeID >= API_MarqueePoly && info.typeID <= API_MarqueeRotBox;
    if (neigs != nullptr) {
        // The count comes from the handle, not from the record beside it.
        std::size_t count = std::size_t(getHandleSize(reinterpret_cast<char**>(neigs))) / sizeof(API_Neig);
        auto list = std::make_unique<ElementLinkList>(count);
        for (std::size_t i = 0; i < count; ++i) {
            list->push_back(new ElementLink((*neigs)[i], this));
        }
        if (!list->empty()) {
            m_selection = list.release();
        }
    }
    if (m_selection != nullptr) {
        m_cursor = *m_selection->back();
    }
    return m_selection != nullptr;
}

ElementLinkList* Drawing::getSelection() {
    checkSelection();
    return m_selection;
}

Element* Drawing::getLastSelected(const element_id& kind) {
    if (!checkSelection()) {
        return nullptr;
    }
    if (kind.getType() == 0) {
        ElementLink cursor(m_cursor);
        return (*this)[cursor];
    }
    Filter filter(kind, false);
    for (auto it = m_selection->rbegin(); it != m_selection->rend(); ++it) {
        if (filter.isKindAccepted((*it)->getType())) {
            ElementLink link(**it);
            return (*this)[link];
        }
    }
    return nullptr;
}

bool Drawing::selectList(ElementLinkList& list, bool add, bool clearFirst) {
    bool proxies = false;
    if (auto* cutPlane = dynamic_cast<CutPlane*>(this)) {
        list.updateProxy(*cutPlane);
        proxies = true;
    }
    if (!activate()) {
        return false;
    }
    if (clearFirst && !deselectAll()) {
        return false;
    }
    std::unique_ptr<void, HandleFree> records(list.getSelectList(proxies));
    if (records == nullptr && !list.empty()) {
        setLastError(APIERR_MEMFULL);
        return false;
    }
    GSErrCode err = NoError;
    if (!list.empty()) {
        err = ACAPI_Element_Select(*static_cast<API_Neig**>(records.get()), Int32(list.size()), add);
    }
    setLastError(err);
    dropSelection();
    return err == NoError;
}

bool Drawing::setSelection(ElementLinkList& list) {
    if (!selectList(list, true, true)) {
        return false;
    }
    // Only a selection the host took is cached.
    if (!list.empty()) {
        m_selection = list.clone();
        m_cursor = *m_selection->back();
    }
    return true;
}

bool Drawing::setSelection(const BaseElemSelection& selection) {
    std::unique_ptr<ElementLinkList> list(selection.getElementLinks());
    return list != nullptr && setSelection(*list);
}

bool Drawing::deselectAll() {
    if (!activate()) {
        return false;
    }
    GSErrCode err = ACAPI_Element_Select(nullptr, 0, false);
    setLastError(err);
    dropSelection();
    return err == NoError;
}

bool Drawing::addToSelection(const ElementLink& link) {
    ElementLinkList list;
    list.push_back(link.clone());
    return addToSelection(list);
}

bool Drawing::addToSelection(ElementLinkList& list) {
    return selectList(list, true, false);
}

bool Drawing::addToSelection(const BaseElemSelection& selection) {
    std::unique_ptr<ElementLinkList> list(selection.getElementLinks());
    return list != nullptr && addToSelection(*list);
}

bool Drawing::removeFromSelection(const ElementLink& link) {
    ElementLinkList list;
    list.push_back(link.clone());
    return removeFromSelection(list);
}

bool Drawing::removeFromSelection(ElementLinkList& list) {
    return selectList(list, false, false);
}

bool Drawing::removeFromSelection(const BaseElemSelection& selection) {
    std::unique_ptr<ElementLinkList> list(selection.getElementLinks());
    return list != nullptr && removeFromSelection(*list);
}

} // namespace zelvane
