#include "Addon/Publisher.h"

#include <algorithm>
#include <utility>

namespace zelvane {

Publisher::Publisher(const Publisher& other)
    : m_environmentChecked(other.m_environmentChecked), m_interfaceRegistered(other.m_interfaceRegistered),
      m_initialised(other.m_initialised),
      m_registry(other.m_registry ? std::make_unique<Registry>(*other.m_registry) : nullptr) {}

Publisher& Publisher::operator=(const Publisher& other) {
    if (this != &other) {
        m_environmentChecked = other.m_environmentChecked;
        m_interfaceRegistered = other.m_interfaceRegistered;
        m_initialised = other.m_initialised;
        m_registry = other.m_registry ? std::make_unique<Registry>(*other.m_registry) : nullptr;
    }
    return *this;
}

bool Publisher::runStep(bool& publisherDone, bool Subscriber::*subscriberDone, Step step) {
    if (publisherDone || !m_registry) {
        return false;
    }
    publisherDone = true;
    // A subscriber registered under several event keys passes the step once: its own flag
    // is set after its first success.
    for (const auto& entry : *m_registry) {
        Subscriber* subscriber = entry.second;
        if (subscriber == nullptr || subscriber->*subscriberDone) {
            continue;
        }
        if (!(subscriber->*step)()) {
            return false;
        }
        subscriber->*subscriberDone = true;
    }
    return true;
}

bool Publisher::checkEnvironment() {
    return runStep(m_environmentChecked, &Subscriber::m_environmentChecked, &Subscriber::checkEnvironment);
}

bool Publisher::registerInterface() {
    return runStep(m_interfaceRegistered, &Subscriber::m_interfaceRegistered, &Subscriber::registerInterface);
}

bool Publisher::initialise() {
    return runStep(m_initialised, &Subscriber::m_initialised, &Subscriber::initialise);
}

void Publisher::addSubscriber(Subscriber* subscriber) {
    if (subscriber == nullptr) {
        return;
    }
    checkStatus(true);
    removeSubscriber(subscriber);
    std::vector<EventSpec> specs;
    subscriber->getSpec(specs);
    if (specs.empty()) {
        specs.push_back(EventSpec(0, 0));
    }
    try {
        for (const EventSpec& spec : specs) {
            m_registry->emplace(spec, subscriber); // after the entries of equal key
        }
    } catch (...) {
        // All or nothing: a subscriber half registered would be called after its owner freed it.
        removeSubscriber(subscriber);
        throw;
    }
}

void Publisher::removeSubscriber(Subscriber* subscriber) {
    if (!m_registry) {
        return;
    }
    for (auto it = m_registry->begin(); it != m_registry->end();) {
        it = it->second == subscriber ? m_registry->erase(it) : std::next(it);
    }
}

void Publisher::removeAllSubscribers() {
    m_registry.reset();
}

bool Publisher::publishEvent(Event& event) {
    if (!m_registry) {
        return false;
    }
    // Collected before the first offer, so that handlers may change the registry: changes take
    // effect from the next dispatch.
    std::vector<std::pair<UInt16, Subscriber*>> takers;
    auto range = m_registry->equal_range(event.getSpec());
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second != nullptr) {
            takers.emplace_back(it->second->getPriority(), it->second);
        }
    }
    std::stable_sort(takers.begin(), takers.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& taker : takers) {
        if (taker.second->takeEvent(event)) {
            return true;
        }
    }
    return false;
}

bool Publisher::checkStatus(bool create) {
    if (m_registry) {
        return true;
    }
    if (create) {
        m_registry = std::make_unique<Registry>();
    }
    return false;
}

} // namespace zelvane
