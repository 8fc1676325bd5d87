#include "Addon/Receiver.h"

namespace zelvane {

void ItemReceiver::takeMessage(const std::shared_ptr<Message>& message) {
    if (auto* item = dynamic_cast<const ItemMessage*>(message.get())) {
        m_item = item->getItem();
    }
}

} // namespace zelvane
