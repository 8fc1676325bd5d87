#include "Element/Window.h"

#include "ACAPI/LibraryParts.hpp"

namespace zelvane {

Window::Window(const API_Element& record, const ElementLink& link)
    : Joinery(record, link,
              ComponentLink(record.window.openingBase.libInd, APILib_WindowID, link.getLibrary())) {}

Element* Window::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == type ? new Window(record, link) : nullptr;
}

void Window::setSourceLink(const ComponentLink& link, bool refetch, bool apply) {
    if (link.getType() != 0 && link.getType() != APILib_WindowID) {
        return;
    }
    getOpeningData().libInd = link.getIndex();
    ComponentElem::setSourceLink(ComponentLink(link.getIndex(), APILib_WindowID, link.getLibrary()), refetch,
                                 apply);
}

} // namespace zelvane
