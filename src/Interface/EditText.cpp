#include "Interface/EditText.h"

#include "Addon/ItemEvent.h"
#include "Interface/InterfacePanel.h"

namespace zelvane {

void EditText::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* text = dynamic_cast<const EditText*>(&control);
    if (text != nullptr && text->m_item) {
        text->m_item->Attach(*this);
    }
}

void EditText::Observer::TextEditChanged(const DG::ItemEvent& event) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            ItemEvent changed(ControlLink(event.GetItemId(), panel));
            panel->broadcastEvent(changed);
        }
    } catch (...) {
        // Nothing may cross back into the host.
    }
}

void EditText::addReference(const DG::Panel& panel) {
    m_item = std::make_shared<DG::TextEdit>(panel, getIndex(0));
}

} // namespace zelvane
