// Takes the action events (clicks) of a panel or control.
#pragma once

#include "Addon/ActionEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class ActionSubscriber : public virtual Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override;
    // Any action event goes to handleEvent.
    bool takeEvent(Event& event) override;
    virtual bool handleEvent(ActionEvent& event) = 0;
};

} // namespace zelvane
