// A receiver of events: it lists the event keys it takes, answers whether it took an event
// (which ends the dispatch) and joins the add-on's three once-only life-cycle steps.
#pragma once

#include "Addon/Event.h"

#include <vector>

namespace zelvane {

class Publisher;

class Subscriber {
public:
    Subscriber() = default;
    Subscriber(const Subscriber&) = default;
    Subscriber& operator=(const Subscriber&) = default;
    virtual ~Subscriber() = default;

    // Appends the event keys of the events this subscriber takes.
    virtual void getSpec(std::vector<EventSpec>& specs) const = 0;
    // True when the subscriber took the event; the dispatch then ends.
    virtual bool takeEvent(Event& event) = 0;
    virtual void setPriority(UInt16 priority) { m_priority = priority; }
    virtual UInt16 getPriority() const { return m_priority; }
    virtual bool checkEnvironment() { return true; }
    virtual bool registerInterface() { return true; }
    virtual bool initialise() { return true; }

    // Whether each life-cycle step has succeeded for this subscriber.
    bool isEnvironmentChecked() const { return m_environmentChecked; }
    bool isInterfaceRegistered() const { return m_interfaceRegistered; }
    bool isInitialised() const { return m_initialised; }

private:
    friend class Publisher;

    UInt16 m_priority = 0;
    bool m_environmentChecked = false;
    bool m_interfaceRegistered = false;
    bool m_initialised = false;
};

} // namespace zelvane
