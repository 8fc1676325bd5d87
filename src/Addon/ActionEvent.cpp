#include "Addon/ActionEvent.h"

namespace zelvane {

ActionEvent* ActionEvent::create(UInt32 message, const ControlLink& link, const Data& data) {
    return message == 4 || message == 5 ? new ActionEvent(message, link, data) : nullptr;
}

} // namespace zelvane
