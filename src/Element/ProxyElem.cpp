#include "Element/ProxyElem.h"

#include "ACAPI/ElementTable.hpp"
#include "Database/Plan.h"
#include "Environment/Host.h"

namespace zelvane {

ProxyElem::ProxyElem() : Element(ElementLink(element_id(type), 0)) {
    initialise();
}

ProxyElem::ProxyElem(const API_Element& record, const ElementLink& link) : Element(link), m_record(record) {}

Element* ProxyElem::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new ProxyElem(record, link) : nullptr;
}

void ProxyElem::initialise() {
    loadToolDefaults(m_record, type, false);
}

Element* ProxyElem::getRealElement() const {
    Drawing* plan = host.getFrontPlan();
    if (plan == nullptr) {
        return nullptr;
    }
    ElementLink link;
    if (!plan->getElementSummary(getRealID(), &link)) {
        return nullptr;
    }
    return plan->load(link);
}

API_Element* ProxyElem::getData() const {
    auto* record = new API_Element(m_record);
    getLink().completeHeader(record->header, true);
    return record;
}

API_ElementMemo* ProxyElem::getMemo(unsigned long long& mask) const {
    mask = 0;
    return nullptr;
}

} // namespace zelvane
