// The root of the host observers that turn the notifications of a panel's items into events.
#pragma once

namespace DG {
class EventBase;
class Panel;
} // namespace DG

namespace zelvane {

class DialogControl;

class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    // Attaches the observer to the control's host item (when the control is of its kind and has
    // one) or to the panel.
    virtual void attach(const DG::Panel& panel, const DialogControl& control) = 0;

protected:
    // Broadcasts an item event for the notified item through its panel; nothing is thrown back
    // into the host.
    static void broadcastChange(const DG::EventBase& event);
};

} // namespace zelvane
