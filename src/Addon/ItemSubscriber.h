// Takes the item events (value changes) of a panel or control.
#pragma once

#include "Addon/ItemEvent.h"
#include "Addon/Subscriber.h"

namespace zelvane {

class ItemSubscriber : public virtual Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override;
    // Any item event goes to handleEvent.
    bool takeEvent(Event& event) override;
    virtual bool handleEvent(ItemEvent& event) = 0;
};

} // namespace zelvane
