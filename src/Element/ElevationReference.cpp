#include "Element/ElevationReference.h"

namespace zelvane {

ElevationReference::ElevationReference() : CutPlaneReference(ElementLink(element_id(type), 0)) {}

Element* ElevationReference::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new ElevationReference(record, link) : nullptr;
}

} // namespace zelvane
