// Takes the resize events of a panel; the panel's items are moved and grown inside one host
// bracket, so that the dialog is redrawn once.
#pragma once

#include "Addon/ResizeEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class ResizeSubscriber : public virtual Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override;
    // A resize event goes to handleEvent inside the host's move-and-grow bracket of its dialog.
    bool takeEvent(Event& event) override;
    virtual bool handleEvent(ResizeEvent& event) = 0;
};

} // namespace zelvane
