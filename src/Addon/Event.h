// The root of all events: what a host callback or a dialog message becomes before anything in the
// framework handles it.
#pragma once

#include "Addon/EventSpec.h"
#include "Addon/Message.h"

#include <memory>

namespace zelvane {

class Receiver;

class Event {
public:
    static constexpr UInt32 ID = MakeGSType("EVNT");
    // The defaults of an add-on command's id and version.
    static constexpr Int32 version = 1;

    Event(const EventSpec& spec, Receiver* receiver = nullptr) : m_receiver(receiver), m_spec(spec) {}
    virtual ~Event() = default;

    const EventSpec& getSpec() const { return m_spec; }
    Receiver* getReceiver() const { return m_receiver; }

    // Hands the message to the event's receiver; does nothing when it has none.
    void tellPublisher(const std::shared_ptr<Message>& message) const;

private:
    Receiver* m_receiver; // not owned
    EventSpec m_spec;
};

} // namespace zelvane
