#include "Addon/DialogEvent.h"

namespace zelvane {

DialogEvent* DialogEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 1 || message == 3 || message == 11 || message == 12 || message == 13 || message == 14
               ? new DialogEvent(message, link, data)
               : nullptr;
}

} // namespace zelvane
