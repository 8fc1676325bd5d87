#include "Addon/ChangeEvent.h"

namespace zelvane {

ChangeEvent* ChangeEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 7 ? new ChangeEvent(message, link, data) : nullptr;
}

} // namespace zelvane
