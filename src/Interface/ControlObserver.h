// The root of the host observers that turn the notifications of a panel's items into events.
#pragma once

namespace DG {
class Panel;
}

namespace zelvane {

class DialogControl;

class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    // Attaches the observer to the control's host item (when the control is of its kind and has
    // one) or to the panel.
    virtual void attach(const DG::Panel& panel, const DialogControl& control) = 0;
};

} // namespace zelvane
