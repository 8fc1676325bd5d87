#include "Interface/ControlObserver.h"

#include "Addon/ItemEvent.h"
#include "DG/DGPanel.hpp"
#include "Interface/InterfacePanel.h"

namespace zelvane {

void ControlObserver::broadcastChange(const DG::EventBase& event) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            ItemEvent changed(ControlLink(event.GetItemId(), panel));
            panel->broadcastEvent(changed);
        }
    } catch (...) {
        // Nothing may cross back into the host.
        InterfacePanel::reportFailure();
    }
}

} // namespace zelvane
