// One page of a tab control, from a dialog resource of the add-on.
#pragma once

#include "Interface/InterfacePanel.h"

#include <memory>

namespace DG {
class TabControl;
class TabPage;
} // namespace DG

namespace zelvane {

class TabPanel : public InterfacePanel {
public:
    explicit TabPanel(Int16 resourceID);
    ~TabPanel() override;

    using Publisher::initialise;
    // Makes the host page (the page-th tab, from 1) on the tab control; its panel ID becomes the
    // dialog ID.
    void initialise(const DG::TabControl& tabControl, Int16 page);

    // The live panel of the dialog that holds the page.
    InterfacePanel* getParent() const override;
    ScreenPoint getSize(ScreenPoint::Type type) const override;
    void setSize(const ScreenPoint& size, ScreenPoint::Anchor anchor) override;
    ScreenPoint::Anchor getAnchorPoint() const;
    void setAnchorPoint(ScreenPoint::Anchor anchor);
    virtual bool isResetRequired() const { return false; }
    void reset() override;
    const DG::Panel* getPanel() const override;

private:
    std::shared_ptr<DG::TabPage> m_page;
};

} // namespace zelvane
