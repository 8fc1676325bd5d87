#include "Element/Door.h"

#include "ACAPI/LibraryParts.hpp"

namespace zelvane {

Door::Door(const API_Element& record, const ElementLink& link)
    : Joinery(record, link, ComponentLink(record.door.openingBase.libInd, APILib_DoorID, link.getLibrary())) {
}

Element* Door::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new Door(record, link) : nullptr;
}

void Door::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    if (link.getType() != 0 && link.getType() != APILib_DoorID) {
        return;
    }
    getOpeningData().libInd = link.getIndex();
    ComponentElem::setSourceLink(ComponentLink(link.getIndex(), APILib_DoorID, link.getLibrary()), refetch,
                                 apply);
}

} // namespace zelvane
