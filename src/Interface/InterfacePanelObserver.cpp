#include "Interface/InterfacePanelObserver.h"

#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/Receiver.h"
#include "Addon/ResizeEvent.h"
#include "DG/DGMessages.hpp"
#include "Interface/InterfacePanel.h"

namespace zelvane {

InterfacePanel* InterfacePanelObserver::findPanel() const {
    return InterfacePanel::findPanelByIndex(m_index);
}

void InterfacePanelObserver::resize(const DG::PanelResizeEvent& event, Int16 phase) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = findPanel()) {
            ResizeEvent resizeEvent(ControlLink(0, panel), ResizeEvent::State(phase), event.IsUserResize(),
                                    event.GetHorizontalChange(), event.GetVerticalChange());
            panel->broadcastEvent(resizeEvent);
        }
    } catch (...) {
        // Nothing may cross back into the host.
        InterfacePanel::reportFailure();
    }
}

void InterfacePanelObserver::PanelResizeEntered(const DG::PanelResizeEvent& event) {
    resize(event, ResizeEvent::resizeEntered);
}

void InterfacePanelObserver::PanelResized(const DG::PanelResizeEvent& event) {
    resize(event, ResizeEvent::resizing);
}

void InterfacePanelObserver::PanelResizeExited(const DG::PanelResizeEvent& event) {
    resize(event, ResizeEvent::resizeExited);
}

void InterfacePanelObserver::drag(const DG::PanelDragDropEvent& event, short kind, DG::DragDropEffect* effect,
                                  bool* handled) {
    InterfacePanel::NotificationScope scope;
    try {
        InterfacePanel* panel = findPanel();
        if (panel == nullptr) {
            return;
        }
        DGDragDropMsgData record;
        record.subMessage = kind;
        record.x = event.GetX();
        record.y = event.GetY();
        ItemReceiver receiver(1);
        DropEvent dropEvent(DG_MSG_DRAGDROP, ControlLink(0, panel), InterfaceEvent::Data::record(&record),
                            &receiver);
        panel->broadcastEvent(dropEvent);
        if (effect != nullptr) {
            *effect = DG::DragDropEffect(record.effect);
        }
        if (handled != nullptr) {
            *handled = receiver.getItem() != 0;
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

void InterfacePanelObserver::PanelDragEntered(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                                              bool* handled) {
    drag(event, 4, effect, handled);
}

void InterfacePanelObserver::PanelDragMoved(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                                            bool* handled) {
    drag(event, 5, effect, handled);
}

void InterfacePanelObserver::PanelDropped(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                                          bool* handled) {
    drag(event, 7, effect, handled);
}

void InterfacePanelObserver::PanelHotkeyPressed(const DG::PanelHotKeyEvent& event, bool* processed) {
    InterfacePanel::NotificationScope scope;
    try {
        InterfacePanel* panel = findPanel();
        if (panel == nullptr) {
            return;
        }
        ItemReceiver receiver(0);
        DialogEvent dialogEvent(DG_MSG_HOTKEY, ControlLink(0, panel),
                                InterfaceEvent::Data(Int64(event.GetKeyId())), &receiver);
        panel->broadcastEvent(dialogEvent);
        if (processed != nullptr) {
            *processed = receiver.getItem() != 0;
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

} // namespace zelvane
