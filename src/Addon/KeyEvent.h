// A character typed into an item.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class KeyEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("KEEV");
    static constexpr UInt32 defaultMessage = 10;

    explicit KeyEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    // The character is the low byte of the data's plain value, taken as a signed character.
    KeyEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver),
          m_character(Int16(static_cast<signed char>(data.getPlainValue() & 0xFF))) {}
    // From the host's character-entry message.
    KeyEvent(const ControlLink& link, Int16 character, Receiver* receiver)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver), m_character(character) {}

    // A new event (the caller deletes it) for message 10; null for any other.
    static KeyEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    Int16 getCharacter() const { return m_character; }

private:
    Int16 m_character = 0;
};

} // namespace zelvane
