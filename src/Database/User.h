// A team-work member: the name, a second text (the full name), the member ID that identifies it in
// the project, the member's GUID on the team-work server and whether it is connected.
#pragma once

#include "ACAPI/ProjectInfo.hpp"
#include "Environment/Guid.h"
#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class User {
public:
    // A null GUID, not connected.
    User(const String& name, Int16 id, const String& text = String())
        : m_name(name), m_text(text), m_id(id) {}
    // From the host's record: the login name, the full name, the ID, the GUID and the connection.
    explicit User(const API_UserInfo& record);
    virtual ~User() = default;

    User* clone() const { return new User(*this); }

    const String& getName() const { return m_name; }
    // The member's second text (its full name in a team-work project).
    const String& getText() const { return m_text; }
    Int16 getID() const { return m_id; }
    const Guid& getGuid() const { return m_guid; }
    bool isConnected() const { return m_connected; }

private:
    Guid m_guid;
    String m_name;
    String m_text;
    Int16 m_id;
    bool m_connected = false;
};

} // namespace zelvane
