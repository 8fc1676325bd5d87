#include "Interface/UserItem.h"

#include "Addon/PaintEvent.h"
#include "Interface/InterfacePanel.h"

namespace zelvane {

void UserItem::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* item = dynamic_cast<const UserItem*>(&control);
    if (item != nullptr && item->m_item) {
        item->m_item->Attach(*this);
    }
}

void UserItem::Observer::UserItemUpdate(const DG::UserItemUpdateEvent& event) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            PaintEvent paint(ControlLink(0, panel), event.GetUpdateData());
            panel->broadcastEvent(paint);
        }
    } catch (...) {
        // Nothing may cross back into the host.
        InterfacePanel::reportFailure();
    }
}

Setting* UserItem::getSetting(Int16, Int16) const {
    return nullptr;
}

void UserItem::setSetting(const Setting&, Int16, Int16) {}

void UserItem::addReference(const DG::Panel& panel) {
    m_item = std::make_shared<DG::UserItem>(panel, getIndex(0));
}

} // namespace zelvane
