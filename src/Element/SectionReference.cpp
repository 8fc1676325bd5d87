#include "Element/SectionReference.h"

namespace zelvane {

SectionReference::SectionReference() : CutPlaneReference(ElementLink(element_id(type), 0)) {}

Element* SectionReference::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new SectionReference(record, link) : nullptr;
}

} // namespace zelvane
