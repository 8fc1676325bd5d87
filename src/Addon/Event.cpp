#include "Addon/Event.h"

#include "Addon/Receiver.h"

namespace zelvane {

void Event::tellPublisher(const std::shared_ptr<Message>& message) const {
    if (m_receiver != nullptr) {
        m_receiver->takeMessage(message);
    }
}

} // namespace zelvane
