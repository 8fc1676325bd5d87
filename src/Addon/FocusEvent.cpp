#include "Addon/FocusEvent.h"

namespace zelvane {

FocusEvent* FocusEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 9 ? new FocusEvent(message, link, data) : nullptr;
}

} // namespace zelvane
