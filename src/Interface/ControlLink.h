// Names one item of a dialog panel: its item number and the panel that holds it.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace DG {
class Item;
}

namespace zelvane {

class InterfacePanel;

class ControlLink {
public:
    // Item -1: the control is not placed yet. Item 0 names the panel itself.
    explicit ControlLink(Int16 item = -1, InterfacePanel* panel = nullptr) : m_item(item), m_panel(panel) {}
    // The host item's number and the live panel of its panel ID (null when none is live).
    explicit ControlLink(const DG::Item& item);

    Int16 getItem() const { return m_item; }
    InterfacePanel* getPanel() const { return m_panel; }
    void setItem(Int16 item) { m_item = item; }
    void setPanel(InterfacePanel* panel) { m_panel = panel; }
    // The panel's dialog ID; 0 without a panel.
    Int16 getDialogID() const;

    // Orders by item number alone.
    bool operator<(const ControlLink& other) const { return m_item < other.m_item; }
    bool operator==(const ControlLink& other) const {
        return m_item == other.m_item && m_panel == other.m_panel;
    }
    bool operator!=(const ControlLink& other) const { return !(*this == other); }

private:
    Int16 m_item;
    InterfacePanel* m_panel; // not owned
};

} // namespace zelvane
