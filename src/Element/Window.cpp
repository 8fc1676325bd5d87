#include "Element/Window.h"

#include "ACAPI/LibraryParts.hpp"

namespace zelvane {
namespace {

API_Element recordOfType() {
    API_Element record;
    record.header.typeID = Window::type;
    return record;
}

} // namespace

Window::Window(const API_Element& record, const ElementLink& link)
    : Joinery(record, link,
              ComponentLink(record.window.openingBase.libInd, APILib_WindowID, link.getLibrary())) {}

Window::Window(bool withMemo) : Joinery(recordOfType(), ElementLink(element_id(type), 0), ComponentLink()) {
    loadDefaults(withMemo, APILib_WindowID);
}

Window::Window(const ComponentLink& source)
    : Joinery(recordOfType(), ElementLink(element_id(type), 0), source) {
    initialise();
}

Element* Window::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new Window(record, link) : nullptr;
}

bool Window::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    return setPartSource(link, APILib_WindowID, refetch, apply);
}

} // namespace zelvane
