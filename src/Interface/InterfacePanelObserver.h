// The host observer of a panel: resizes, drags and drops and hot keys become events for the
// panel found by its serial number; nothing happens once the panel is gone.
#pragma once

#include "DG/DGPanel.hpp"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class InterfacePanel;

class InterfacePanelObserver : public DG::PanelObserver {
public:
    explicit InterfacePanelObserver(Int32 index) : m_index(index) {}

    Int32 getIndex() const { return m_index; }

    void PanelResizeEntered(const DG::PanelResizeEvent& event) override;
    void PanelResized(const DG::PanelResizeEvent& event) override;
    void PanelResizeExited(const DG::PanelResizeEvent& event) override;
    void PanelDragEntered(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                          bool* handled) override;
    void PanelDragMoved(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                        bool* handled) override;
    void PanelDropped(const DG::PanelDragDropEvent& event, DG::DragDropEffect* effect,
                      bool* handled) override;
    void PanelHotkeyPressed(const DG::PanelHotKeyEvent& event, bool* processed) override;

protected:
    // The live panel of the observer, or null.
    InterfacePanel* findPanel() const;

private:
    void resize(const DG::PanelResizeEvent& event, Int16 phase);
    void drag(const DG::PanelDragDropEvent& event, short kind, DG::DragDropEffect* effect, bool* handled);

    Int32 m_index;
};

} // namespace zelvane
