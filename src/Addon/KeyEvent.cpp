#include "Addon/KeyEvent.h"

namespace zelvane {

KeyEvent* KeyEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 10 ? new KeyEvent(message, link, data) : nullptr;
}

} // namespace zelvane
