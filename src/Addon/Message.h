// Messages that a handler sends back to whoever published an event.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class Message {
public:
    virtual ~Message() = default;
    virtual Message* clone() const { return new Message(*this); }
};

// An item number: for a dialog, 0 refuses a close request or swallows a typed character.
class ItemMessage : public Message {
public:
    explicit ItemMessage(Int16 item = 0) : m_item(item) {}
    ItemMessage* clone() const override { return new ItemMessage(*this); }

    Int16 getItem() const { return m_item; }

private:
    Int16 m_item;
};

} // namespace zelvane
