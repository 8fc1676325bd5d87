#include "Addon/Supervisor.h"

#include "Addon/Addon.h"

#include "XML/PackageStore.h"

#include <algorithm>

namespace zelvane {

Supervisor::Supervisor(Addon& maker)
    : m_preferences(std::make_unique<PackageStore>("frameworkPreferenceStore")) {
    m_members.push_back(&maker);
}

Supervisor::~Supervisor() {
    m_preferences.reset();
    std::vector<Addon*> members;
    members.swap(m_members);
    for (Addon* member : members) {
        member->detachSupervisor(this);
    }
}

void Supervisor::addMember(Addon& member) {
    if (std::find(m_members.begin(), m_members.end(), &member) == m_members.end()) {
        m_members.push_back(&member);
        member.attachSupervisor(*this);
    }
}

void Supervisor::removeMember(Addon& member) {
    m_members.erase(std::remove(m_members.begin(), m_members.end(), &member), m_members.end());
}

bool Supervisor::broadcastEvent(Event& event, const Addon* sender) {
    // A member may leave while the event is handled: the walk runs over a copy, and each member
    // is checked again before it is asked.
    std::vector<Addon*> members = m_members;
    bool taken = false;
    for (Addon* member : members) {
        if (member == sender || std::find(m_members.begin(), m_members.end(), member) == m_members.end()) {
            continue;
        }
        if (member->publishToSubscribers(event)) {
            taken = true;
        }
    }
    return taken;
}

void Supervisor::addPreference(const Package& package) {
    m_preferences->setPackage(package, false);
}

PackageStore* Supervisor::makePreferences() const {
    return new PackageStore(*m_preferences);
}

Package* Supervisor::getDefaultPreference(unsigned int code) const {
    return m_preferences->getPackage(code, false);
}

} // namespace zelvane
