// A modal dialog or a palette (a modeless dialog) of the add-on's dialog resources. Add-on
// dialogs derive from it and make their controls in handleInitialise; the controls are deleted
// whenever the dialog closes.
#pragma once

#include "Environment/Guid.h"
#include "Interface/InterfacePanel.h"

#include <memory>

namespace DG {
class Dialog;
}

namespace zelvane {

class Dialog : public InterfacePanel {
public:
    // The host's modifier keys of a hot key.
    using ModifierKey = Int16;

    Dialog(Int16 resourceID, bool modal, bool sizeFlag = false, bool locationFlag = false);
    // Closes the dialog first.
    ~Dialog() override;

    // Opens the dialog: a modal one runs until it closes and answers 1 when accepted, 2 when
    // cancelled; a palette is shown (and activated when asked, or when it was open already) and
    // answers 0, as does a dialog whose resource the host cannot open.
    Int16 show(bool activate = true);
    // A palette ends its event processing and drops its host object; a modal dialog is aborted.
    void close() override;
    // A palette closes; a modal dialog asks the host to close it with OK or Cancel.
    void requestClose(bool accept);
    void hide();
    void bringToFront();
    bool isVisible() const;
    String getTitle() const;
    void setTitle(const String& title);
    // Types 0, 2 and 4 give the client area's position, 1, 3 and 5 the frame's; any other type, or
    // a dialog that is not open, the zero point.
    ScreenPoint getLocation(ScreenPoint::Type type, ScreenPoint::Context context) const override;
    void setLocation(const ScreenPoint& location);
    void setResizeType(Int16 growType);
    void setDockingID(const Guid& dockingID) { m_dockingID = dockingID; }
    const Guid& getDockingID() const { return m_dockingID; }
    // The host's ID of the new hot key; 0 without a host dialog.
    Int16 registerHotkey(Int16 key, ModifierKey first = 0, ModifierKey second = 0, ModifierKey third = 0);
    void setHotkeyEnabled(bool enabled);

    bool isModal() const { return m_modal; }
    bool getLocationFlag() const { return m_locationFlag; }

    bool broadcastEvent(Event& event) override;
    void handleInitialise() override {}
    void handleOpen() override {}
    void handleAccept(ActionEvent& /*event*/) override {}
    void handleCancel(ActionEvent& /*event*/) override {}
    void handleClose() override {}
    void reset() override;
    const DG::Panel* getPanel() const override;
    // Binds the controls; a modal dialog gets plain buttons for items 1 and 2 when it has no
    // controls for them.
    void addReference() override;

private:
    Guid m_dockingID;
    bool m_modal;
    bool m_locationFlag;
    std::shared_ptr<DG::Dialog> m_dialog;
};

} // namespace zelvane
