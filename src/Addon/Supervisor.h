// Ties together the add-ons of the framework loaded into the host at once: the members, in
// joining order, and the events that one member's subscribers did not take, passed to the others.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <memory>
#include <vector>

namespace zelvane {

class Addon;
class Event;
class Package;
class PackageStore;

class Supervisor {
public:
    // The shared add-on command by which another add-on joins.
    static constexpr UInt32 ID = MakeGSType("GSUP");
    static constexpr Int32 version = 1;

    // The add-on that makes the supervisor is its first member.
    explicit Supervisor(Addon& maker);
    Supervisor(const Supervisor&) = delete;
    Supervisor& operator=(const Supervisor&) = delete;
    // Members still in the list are detached, so that none keeps pointing here.
    virtual ~Supervisor();

    // The member leaves the supervisor it belonged to (one it owned is deleted) and joins this one.
    void addMember(Addon& member);
    void removeMember(Addon& member);
    const std::vector<Addon*>& getMembers() const { return m_members; }

    // Offers the event to the own subscribers of every member but the sender, in joining order,
    // each even after another took it; never back to the sender and never passed on again.
    // Answers whether any took it.
    bool broadcastEvent(Event& event, const Addon* sender);
    void reset() {}

    // The defaults of the members' project packages: a copy of the package is kept.
    void addPreference(const Package& package);
    // A new store (the caller deletes it) copied from the defaults.
    PackageStore* makePreferences() const;
    // The default package of that code, or null.
    Package* getDefaultPreference(unsigned int code) const;

private:
    std::unique_ptr<PackageStore> m_preferences;
    std::vector<Addon*> m_members; // not owned
};

} // namespace zelvane
