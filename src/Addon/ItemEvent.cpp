#include "Addon/ItemEvent.h"

namespace zelvane {

ItemEvent* ItemEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 6 ? new ItemEvent(message, link, data) : nullptr;
}

} // namespace zelvane
