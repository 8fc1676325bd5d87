#include "Remap/MakeElementFrom.h"

#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Object.h"
#include "Element/Window.h"

namespace zelvane::remap {

std::shared_ptr<ComponentElem> makeElementFrom(ObjectMap::Key const& key, ComponentLink const& part) {
    switch (key.first) {
    case APILib_WindowID:
        return std::make_shared<Window>(part);
    case APILib_DoorID:
        return std::make_shared<Door>(part);
    case APILib_ObjectID:
        return std::make_shared<Object>(part, 0);
    case APILib_LampID:
        return std::make_shared<Lamp>(part, 0);
    default:
        return nullptr;
    }
}

std::shared_ptr<ComponentElem> makeElementFrom(ObjectMap::Key const& key, bool withParameters) {
    switch (key.first) {
    case APILib_WindowID:
        return std::make_shared<Window>(withParameters);
    case APILib_DoorID:
        return std::make_shared<Door>(withParameters);
    case APILib_ObjectID:
        return std::make_shared<Object>(withParameters, 0);
    case APILib_LampID:
        return std::make_shared<Lamp>(withParameters, 0);
    default:
        return nullptr;
    }
}

} // namespace zelvane::remap
