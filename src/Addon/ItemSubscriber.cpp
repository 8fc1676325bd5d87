#include "Addon/ItemSubscriber.h"

namespace zelvane {

void ItemSubscriber::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(InterfaceEvent::ID, ItemEvent::ID));
}

bool ItemSubscriber::takeEvent(Event& event) {
    auto* item = dynamic_cast<ItemEvent*>(&event);
    return item != nullptr && handleEvent(*item);
}

} // namespace zelvane
