// Holds subscribers by event key and offers each event to them. The publisher does not
// own its subscribers: each must outlive its registration.
#pragma once

#include "Addon/Subscriber.h"

#include <map>
#include <memory>

namespace zelvane {

class Publisher {
public:
    Publisher() = default;
    // Copies the step flags; the copy's registry holds the same subscribers.
    Publisher(const Publisher& other);
    Publisher& operator=(const Publisher& other);
    virtual ~Publisher() = default;

    // The once-only life-cycle steps: each runs at most once per publisher (a second call answers
    // false) and calls every subscriber that has not yet passed the step, in registry order,
    // stopping at the first failure. False with no registry.
    virtual bool checkEnvironment();
    virtual bool registerInterface();
    virtual bool initialise();

    // Registers the subscriber under every event key it takes (replacing an earlier
    // registration); one with none is registered under the empty event key, so that it
    // still takes part in the life-cycle steps.
    virtual void addSubscriber(Subscriber* subscriber);
    virtual void removeSubscriber(Subscriber* subscriber);
    virtual void removeAllSubscribers();
    // Offers the event to the subscribers of its event key, highest priority first and in
    // registration order among equals; true when one took it.
    virtual bool publishEvent(Event& event);

    // Whether the registry exists; makes an empty one (still answering false) when asked.
    bool checkStatus(bool create);

private:
    using Registry = std::multimap<EventSpec, Subscriber*>;
    using Step = bool (Subscriber::*)();

    bool runStep(bool& publisherDone, bool Subscriber::*subscriberDone, Step step);

    bool m_environmentChecked = false;
    bool m_interfaceRegistered = false;
    bool m_initialised = false;
    std::unique_ptr<Registry> m_registry;
};

} // namespace zelvane
