// Takes the menu events of one of the add-on's menus, and registers the menu and its handler with
// the host.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/MenuEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class MenuSubscriber : public virtual Subscriber {
public:
    MenuSubscriber(Int16 menuID, Int16 promptID = 0, API_MenuCodeID menuCode = MenuCode_UserDef,
                   GSFlags flags = 0)
        : m_menuID(menuID), m_promptID(promptID), m_menuCode(menuCode), m_flags(flags) {}

    void getSpec(std::vector<EventSpec>& specs) const override;
    // A menu event of this subscriber's menu goes to handleEvent.
    bool takeEvent(Event& event) override;
    // Registers the menu with the host; true when the host accepts it.
    bool registerInterface() override;
    // Installs the menu callback for the menu; true when the host accepts it.
    bool initialise() override;
    virtual bool handleEvent(MenuEvent& event) = 0;

    Int16 getMenuID() const { return m_menuID; }

    // The host's menu callback: answers 0 whatever happens inside.
    static GSErrCode menuCallback(const API_MenuParams* params);

private:
    Int16 m_menuID;
    Int16 m_promptID;
    API_MenuCodeID m_menuCode;
    GSFlags m_flags;
};

} // namespace zelvane
