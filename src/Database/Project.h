// The host's open project, as the framework sees it: the project's preference packages and its
// team, with whatever it reads from the host cached until the next outermost host entry.
#pragma once

#include "Database/User.h"
#include "Environment/Vector.h"
#include "XML/PackageStore.h"

#include <cstddef>

namespace zelvane {

class Specification;

class Project {
public:
    using UserList = Vector<User>;

    Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;
    virtual ~Project();

    // The project's attribute set (the project keeps it).
    Specification* getSpecification() const { return m_specification; }

    // Drops what was read from the host, so that it is read afresh on next use.
    void resetDatabases();

    // The project's preference package of that code (the project keeps it), or null.
    Package* getPreference(unsigned int code) const;
    // Stores a copy of the package, or adopts it, replacing one of the same code; with publish the
    // package's update event follows.
    void setPreference(const Package& package, bool publish);
    void setPreference(Package* package, bool publish);
    // Puts the packages back to their defaults, except those that may be left alone.
    void initialisePreferences();

    // True when the project is a team-work project connected to its server.
    bool isShared() const;
    // The number of team-work members (none unless the project is shared); read on first use.
    std::size_t getTeamSize();
    // The member at an index (the project keeps it), or null past the end.
    const User* getTeamMember(std::size_t index);

private:
    UserList* m_users = nullptr;
    PackageStore* m_preferences;
    Specification* m_specification;
};

} // namespace zelvane
