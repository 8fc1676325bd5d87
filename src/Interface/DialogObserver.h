// The host observer of a dialog: it opens, is asked to close and closes.
#pragma once

#include "Interface/InterfacePanelObserver.h"

namespace zelvane {

class DialogObserver : public InterfacePanelObserver {
public:
    using InterfacePanelObserver::InterfacePanelObserver;

    // Sizes and places the dialog, makes and binds the controls of the dialog and its tab pages,
    // then tells them it opened. When any of it fails the dialog closes as cancelled and the
    // add-on reports the failure.
    void PanelOpened(const DG::EventBase& event) override;
    // Asks the handlers of the dialog's tab pages and of the dialog whether it may close; one
    // refuses by answering the event with item 0.
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& event, bool* accepted) override;
    void PanelClosed(const DG::PanelCloseEvent& event) override;

private:
    static void openingFailed(Int32 index);
    void closeRequested(const DG::PanelCloseRequestEvent& event, bool* accepted);
};

} // namespace zelvane
