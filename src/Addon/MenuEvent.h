// The user chose an item of one of the add-on's menus.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/HostEvent.h"

namespace zelvane {

class MenuEvent : public HostEvent {
public:
    static constexpr UInt32 ID = MakeGSType("MENU");

    MenuEvent(Int32 menuID, Int32 itemIndex, Receiver* receiver = nullptr)
        : HostEvent(ID, 0, receiver), m_menuID(menuID), m_itemIndex(itemIndex) {}
    explicit MenuEvent(const API_MenuParams& params, Receiver* receiver = nullptr)
        : MenuEvent(params.menuItemRef.menuResID, params.menuItemRef.itemIndex, receiver) {}

    // The menu's resource ID.
    Int32 getMenuID() const { return m_menuID; }
    // The host's 1-based item index.
    Int32 getItemIndex() const { return m_itemIndex; }

private:
    Int32 m_menuID;
    Int32 m_itemIndex;
};

} // namespace zelvane
