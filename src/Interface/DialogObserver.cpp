#include "Interface/DialogObserver.h"

#include "Addon/ActionEvent.h"
#include "Addon/Addon.h"
#include "Addon/DialogEvent.h"
#include "Addon/Receiver.h"
#include "Interface/Dialog.h"
#include "Interface/TabPanel.h"

#include <memory>
#include <vector>

namespace zelvane {
namespace {

Dialog* findDialog(Int32 index) {
    return dynamic_cast<Dialog*>(InterfacePanel::findPanelByIndex(index));
}

// The indexes of a panel's children: each is looked up again before use, since a handler may
// close or delete any of them.
std::vector<Int32> childIndexes(const InterfacePanel& panel) {
    InterfacePanelList children;
    panel.getChildren(children);
    std::vector<Int32> indexes;
    for (InterfacePanel* child : children) {
        indexes.push_back(child->getIndex());
    }
    return indexes;
}

} // namespace

void DialogObserver::PanelOpened(const DG::EventBase&) {
    InterfacePanel::NotificationScope scope;
    Int32 index = getIndex();
    std::shared_ptr<InterfacePanelObserver> keep;
    try {
        Dialog* dialog = findDialog(index);
        if (dialog == nullptr) {
            return;
        }
        keep = dialog->getObserver();
        if (dialog->getSizeFlag()) {
            ScreenPoint size = dialog->getSize(2);
            size.setType(0);
            dialog->setSize(size, 1);
        }
        if (dialog->getLocationFlag()) {
            ScreenPoint location = dialog->getLocation(2, 0);
            location.setType(0);
            dialog->setLocation(location);
        }
        dialog->handleInitialise();
        if ((dialog = findDialog(index)) == nullptr) {
            return;
        }
        dialog->addReference();
        std::vector<Int32> children = childIndexes(*dialog);
        for (Int32 child : children) {
            if (auto* page = dynamic_cast<TabPanel*>(InterfacePanel::findPanelByIndex(child))) {
                page->handleInitialise();
                if (InterfacePanel::findPanelByIndex(child) == page) {
                    page->addReference();
                }
            }
        }
        if ((dialog = findDialog(index)) == nullptr) {
            return;
        }
        DialogEvent opened(1, ControlLink(0, dialog), InterfaceEvent::Data(0));
        dialog->broadcastEvent(opened);
        if ((dialog = findDialog(index)) == nullptr) {
            return;
        }
        dialog->handleOpen();
        for (Int32 child : children) {
            if (InterfacePanel* panel = InterfacePanel::findPanelByIndex(child)) {
                DialogEvent childOpened(1, ControlLink(0, panel), InterfaceEvent::Data(0));
                panel->broadcastEvent(childOpened);
                if (InterfacePanel::findPanelByIndex(child) == panel) {
                    panel->handleOpen();
                }
            }
        }
    } catch (...) {
        // Nothing may cross back into the host. A dialog left half built would let its OK store
        // what was never shown: it closes as cancelled, and the failure is reported.
        openingFailed(index);
    }
}

void DialogObserver::openingFailed(Int32 index) {
    try {
        if (Dialog* dialog = findDialog(index)) {
            dialog->close();
        }
    } catch (...) {
    }
    InterfacePanel::reportFailure();
}

void DialogObserver::PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) {
    InterfacePanel::NotificationScope scope;
    Dialog* dialog = findDialog(getIndex());
    if (dialog == nullptr) {
        return;
    }
    std::shared_ptr<InterfacePanelObserver> keep = dialog->getObserver();
    if (!dialog->isModal() && addon != nullptr) {
        // A palette is asked to close outside any host callback.
        bool failed = true;
        addon->runExternalEntry([&] {
            closeRequested(event, accepted);
            failed = false;
        });
        if (failed && accepted != nullptr) {
            *accepted = false;
        }
        return;
    }
    try {
        closeRequested(event, accepted);
    } catch (...) {
        // A handler that failed leaves the dialog open, and the user is told.
        if (accepted != nullptr) {
            *accepted = false;
        }
        InterfacePanel::reportFailure();
    }
}

void DialogObserver::closeRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) {
    Dialog* dialog = findDialog(getIndex());
    if (dialog == nullptr) {
        return;
    }
    Int32 index = dialog->getIndex();
    std::vector<Int32> children = childIndexes(*dialog);
    ItemReceiver receiver(1);
    ActionEvent action(ControlLink(event.IsAccepted() ? 1 : 2, dialog), &receiver);
    for (Int32 child : children) {
        if (InterfacePanel* panel = InterfacePanel::findPanelByIndex(child)) {
            if (event.IsAccepted()) {
                panel->handleAccept(action);
            } else {
                panel->handleCancel(action);
            }
        }
    }
    if ((dialog = findDialog(index)) != nullptr) {
        if (event.IsAccepted()) {
            dialog->handleAccept(action);
        } else {
            dialog->handleCancel(action);
        }
    }
    bool closing = receiver.getItem() != 0;
    if (accepted != nullptr) {
        *accepted = closing;
    }
    if (closing && (dialog = findDialog(index)) != nullptr && !dialog->isModal()) {
        dialog->close();
    }
}

void DialogObserver::PanelClosed(const DG::PanelCloseEvent&) {
    InterfacePanel::NotificationScope scope;
    try {
        Dialog* dialog = findDialog(getIndex());
        if (dialog == nullptr) {
            return;
        }
        std::shared_ptr<InterfacePanelObserver> keep = dialog->getObserver();
        Int32 index = dialog->getIndex();
        for (Int32 child : childIndexes(*dialog)) {
            if (InterfacePanel* panel = InterfacePanel::findPanelByIndex(child)) {
                panel->handleClose();
            }
        }
        if ((dialog = findDialog(index)) != nullptr) {
            dialog->handleClose();
        }
        if ((dialog = findDialog(index)) != nullptr) {
            dialog->reset();
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

} // namespace zelvane
