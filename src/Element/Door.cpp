#include "Element/Door.h"

#include "ACAPI/LibraryParts.hpp"

namespace zelvane {
namespace {

API_Element recordOfType() {
    API_Element record;
    record.header.typeID = Door::type;
    return record;
}

} // namespace

Door::Door(const API_Element& record, const ElementLink& link)
    : Joinery(record, link, ComponentLink(record.door.openingBase.libInd, APILib_DoorID, link.getLibrary())) {
}

Door::Door(bool withMemo) : Joinery(recordOfType(), ElementLink(element_id(type), 0), ComponentLink()) {
    loadDefaults(withMemo, APILib_DoorID);
}

Door::Door(const ComponentLink& source) : Joinery(recordOfType(), ElementLink(element_id(type), 0), source) {
    initialise();
}

Door::Door(const String& name, const Library* library) : Door(ComponentLink(name, APILib_DoorID, library)) {}

Element* Door::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new Door(record, link) : nullptr;
}

bool Door::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    return setPartSource(link, APILib_DoorID, refetch, apply);
}

} // namespace zelvane
