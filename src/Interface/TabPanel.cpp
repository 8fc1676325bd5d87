#include "Interface/TabPanel.h"

#include "ACAPI/Resources.hpp"
#include "DG/DGPanel.hpp"
#include "Interface/InterfacePanelObserver.h"

namespace zelvane {

TabPanel::TabPanel(Int16 resourceID) : InterfacePanel(resourceID, true) {}

TabPanel::~TabPanel() {
    releaseLater(m_page);
}

void TabPanel::initialise(const DG::TabControl& tabControl, Int16 page) {
    auto made = std::make_shared<DG::TabPage>(tabControl, page, ACAPI_GetOwnResModule(), getResourceID());
    if (!made->IsValid()) {
        return;
    }
    releaseLater(m_page);
    m_page = made;
    setDialogID(m_page->GetId());
    auto* observer = new InterfacePanelObserver(getIndex());
    setObserver(observer);
    m_page->Attach(*observer);
}

InterfacePanel* TabPanel::getParent() const {
    if (!m_page || m_page->GetParentId() == 0) {
        return nullptr;
    }
    return findPanelByID(m_page->GetParentId());
}

ScreenPoint TabPanel::getSize(ScreenPoint::Type type) const {
    return m_page ? ScreenPoint(m_page->GetWidth(), m_page->GetHeight(), type) : ScreenPoint();
}

void TabPanel::setSize(const ScreenPoint& size, ScreenPoint::Anchor anchor) {
    if (m_page) {
        setAnchorPoint(anchor);
        m_page->SetSize(size.getX(), size.getY());
    }
}

ScreenPoint::Anchor TabPanel::getAnchorPoint() const {
    return m_page ? ScreenPoint::Anchor(m_page->GetFixPoint()) : 0;
}

void TabPanel::setAnchorPoint(ScreenPoint::Anchor anchor) {
    if (m_page) {
        m_page->SetFixPoint(Int32(anchor));
    }
}

void TabPanel::reset() {
    InterfacePanel::reset();
    if (std::shared_ptr<InterfacePanelObserver> observer = getObserver()) {
        if (m_page) {
            m_page->Detach(*observer);
        }
        setObserver(nullptr);
    }
    releaseLater(m_page);
    m_page.reset();
}

const DG::Panel* TabPanel::getPanel() const {
    return m_page.get();
}

} // namespace zelvane
