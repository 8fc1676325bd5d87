// A group of elements, named by the host's group GUID.
#pragma once

#include "Environment/Guid.h"

namespace zelvane {

class Group {
public:
    explicit Group(const Guid& id = Guid()) : m_id(id) {}
    virtual ~Group() = default;

    const Guid& getID() const { return m_id; }
    bool isValid() const { return bool(m_id); }

private:
    Guid m_id;
};

} // namespace zelvane
