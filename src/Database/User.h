// A team-work member: the name, a second text and the member ID that identifies it.
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class User {
public:
    User(const String& name, Int16 id, const String& text = String())
        : m_name(name), m_text(text), m_id(id) {}

    User* clone() const { return new User(*this); }

    const String& getName() const { return m_name; }
    // The member's second text (its full name in a team-work project).
    const String& getText() const { return m_text; }
    Int16 getID() const { return m_id; }

private:
    String m_name;
    String m_text;
    Int16 m_id;
};

} // namespace zelvane
