#include "Addon/InterfaceEvent.h"

#include "Interface/InterfacePanel.h"

namespace zelvane {

DialogControl* InterfaceEvent::getControl() const {
    InterfacePanel* panel = m_link.getPanel();
    return panel != nullptr ? panel->getControl(m_link.getItem()) : nullptr;
}

} // namespace zelvane
