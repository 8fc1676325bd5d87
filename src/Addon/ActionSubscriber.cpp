#include "Addon/ActionSubscriber.h"

namespace zelvane {

void ActionSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(InterfaceEvent::ID, ActionEvent::ID));
}

bool ActionSubscriber::takeEvent(Event& event) {
    auto* action = dynamic_cast<ActionEvent*>(&event);
    return action != nullptr && handleEvent(*action);
}

} // namespace zelvane
