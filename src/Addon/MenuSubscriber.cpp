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

GSErrCode MenuSubscriber::menuCallback(const API_MenuParams* params) {
    // Outside the add-on object's life there is nobody to take the event; the host is answered 0
    // whatever happens.
    if (addon == nullptr || params == nullptr) {
        return NoError;
    }
    try {
        MenuEvent event(*params);
        addon->publishExternalEvent(event, true);
    } catch (...) {
    }
    return NoError;
}

} // namespace zelvane
