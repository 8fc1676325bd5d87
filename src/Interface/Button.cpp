#include "Interface/Button.h"

#include "Addon/ActionEvent.h"
#include "DG/DGImage.hpp"
#include "DG/DGItems.hpp"
#include "Interface/InterfacePanel.h"

namespace zelvane {

void Button::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* button = dynamic_cast<const Button*>(&control);
    if (button != nullptr && button->m_item) {
        button->m_item->Attach(*this);
    }
}

void Button::Observer::ButtonClicked(const DG::ItemEvent& event) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            ActionEvent action(ControlLink(event.GetItemId(), panel));
            panel->broadcastEvent(action);
        }
    } catch (...) {
        // Nothing may cross back into the host.
        InterfacePanel::reportFailure();
    }
}

Setting* Button::getSetting(Int16, Int16) const {
    return nullptr;
}

void Button::setSetting(const Setting&, Int16, Int16) {}

String Button::getLabel(Int16 row, Int16 column) const {
    return isValidCell(row, column) ? String(DGGetItemText(getDialogID(), getIndex(row))) : String();
}

void Button::setLabel(const String& label, Int16 row, Int16 column) {
    if (isValidCell(row, column)) {
        DGSetItemText(getDialogID(), getIndex(row), GS::UniString(label));
    }
}

Image Button::getImage(Int16 row, Int16 column) const {
    if (!isValidCell(row, column)) {
        return Image();
    }
    short resourceID = DGGetItemImage(getDialogID(), getIndex(row));
    return resourceID != 0 ? Image(DG::Image(resourceID)) : Image();
}

void Button::setImage(const Image& image, Int16 row, Int16 column) {
    if (isValidCell(row, column) && !image.isEmpty()) {
        DGSetItemImage(getDialogID(), getIndex(row), image.getResourceId());
    }
}

void Button::addReference(const DG::Panel& panel) {
    m_item = std::make_shared<DG::Button>(panel, getIndex(0));
}

} // namespace zelvane
