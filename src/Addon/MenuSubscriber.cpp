#include "Addon/MenuSubscriber.h"

#include "Addon/Addon.h"

namespace zelvane {

void MenuSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(HostEvent::ID, MenuEvent::ID));
}

bool MenuSubscriber::takeEvent(Event& event) {
    auto* menuEvent = dynamic_cast<MenuEvent*>(&event);
    return menuEvent != nullptr && menuEvent->getMenuID() == m_menuID && handleEvent(*menuEvent);
}

bool MenuSubscriber::registerInterface() {
    return ACAPI_Register_Menu(m_menuID, m_promptID, m_menuCode, m_flags) == NoError;
}

bool MenuSubscriber::initialise() {
    return ACAPI_Install_MenuHandler(m_menuID, menuCallback) == NoError;
}

GSErrCode MenuSubscriber::menuCallback(const API_MenuParams*) {
    // Menu events are dispatched by the add-on object; outside its life there is nobody to take
    // them, and the host is answered 0 whatever happens.
    if (addon == nullptr) {
        return NoError;
    }
    return NoError;
}

} // namespace zelvane
