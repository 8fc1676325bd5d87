// The receiving end of the messages that handlers send back through an event.
#pragma once

#include "Addon/Message.h"

#include <memory>

namespace zelvane {

class Receiver {
public:
    virtual ~Receiver() = default;
    virtual void takeMessage(const std::shared_ptr<Message>& message) = 0;
};

// Holds an item number: an item message replaces it, other messages are ignored.
class ItemReceiver : public Receiver {
public:
    explicit ItemReceiver(Int16 item = 0) : m_item(item) {}

    void takeMessage(const std::shared_ptr<Message>& message) override;

    Int16 getItem() const { return m_item; }
    void setItem(Int16 item) { m_item = item; }

private:
    Int16 m_item;
};

} // namespace zelvane
