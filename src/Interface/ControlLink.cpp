#include "Interface/ControlLink.h"

#include "DG/DGPanel.hpp"
#include "Interface/InterfacePanel.h"

namespace zelvane {

ControlLink::ControlLink(const DG::Item& item)
    : m_item(item.GetId()), m_panel(InterfacePanel::findPanelByID(item.GetPanelId())) {}

Int16 ControlLink::getDialogID() const {
    return m_panel != nullptr ? m_panel->getDialogID() : 0;
}

} // namespace zelvane
