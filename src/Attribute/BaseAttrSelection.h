// A selection of attributes: what it accepts, and the links of its members.
#pragma once

#include "Database/AttributeLink.h"
#include "Environment/Vector.h"

namespace zelvane {

class Attribute;

// Links of attributes, owned.
using AttrRefList = Vector<AttributeLink>;

class BaseAttrSelection {
public:
    virtual ~BaseAttrSelection() = default;
    // A new list of the members' links, in order (the caller deletes it).
    virtual AttrRefList* getRefList() const = 0;
    // Takes the attribute when the selection accepts it (true); otherwise the caller keeps it.
    virtual bool append(Attribute* attribute) = 0;
};

} // namespace zelvane
