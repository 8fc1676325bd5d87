#include "Addon/MoveEvent.h"

namespace zelvane {

MoveEvent* MoveEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 8 ? new MoveEvent(message, link, data) : nullptr;
}

} // namespace zelvane
