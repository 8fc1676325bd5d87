#include "Interface/GenericObserver.h"

#include "Addon/FocusEvent.h"
#include "Addon/KeyEvent.h"
#include "Addon/Receiver.h"
#include "Interface/InterfacePanel.h"

namespace zelvane {

void GenericObserver::attach(const DG::Panel& panel, const DialogControl& control) {
    DG::Item(panel, control.getIndex(0)).Attach(*this);
}

void GenericObserver::ItemCharEntered(const DG::ItemCharEnterEvent& event, bool* denyChar) {
    InterfacePanel::NotificationScope scope;
    try {
        InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId());
        if (panel == nullptr) {
            return;
        }
        ItemReceiver receiver(event.GetItemId());
        KeyEvent keyEvent(ControlLink(event.GetItemId(), panel), Int16(event.GetCharCode()), &receiver);
        panel->broadcastEvent(keyEvent);
        if (denyChar != nullptr && receiver.getItem() == 0) {
            *denyChar = true;
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

void GenericObserver::ItemFocusLost(const DG::ItemEvent& event) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            FocusEvent focusEvent(ControlLink(event.GetItemId(), panel));
            panel->broadcastEvent(focusEvent);
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

} // namespace zelvane
