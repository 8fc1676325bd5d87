// An item gained or lost the keyboard focus.
#pragma once

#include "Addon/InterfaceEvent.h"

namespace zelvane {

class FocusEvent : public InterfaceEvent {
public:
    static constexpr UInt32 ID = MakeGSType("FOEV");
    static constexpr UInt32 defaultMessage = 9;

    explicit FocusEvent(const ControlLink& link, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, defaultMessage, link, Data(), receiver) {}
    FocusEvent(UInt32 id, const ControlLink& link, const Data& data, Receiver* receiver = nullptr)
        : InterfaceEvent(ID, id, link, data, receiver) {}

    // A new event (the caller deletes it) for message 9; null for any other.
    static FocusEvent* create(UInt32 message, const ControlLink& link, const Data& data);

    // True when the data value is not 0.
    bool isGainingFocus() const { return getDataWord().getPlainValue() != 0; }
};

} // namespace zelvane
