// The observer of every item of a panel: typed characters and lost focus become events.
#pragma once

#include "DG/DGPanel.hpp"
#include "Interface/ControlObserver.h"

namespace zelvane {

class GenericObserver : public ControlObserver, public DG::ItemObserver {
public:
    void attach(const DG::Panel& panel, const DialogControl& control) override;
    // The character is dropped when a handler answered the key event with item 0.
    void ItemCharEntered(const DG::ItemCharEnterEvent& event, bool* denyChar) override;
    void ItemFocusLost(const DG::ItemEvent& event) override;
};

} // namespace zelvane
