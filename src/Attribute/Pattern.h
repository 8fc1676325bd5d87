// What fills and composites share as patterns a user picks from: their link, index and name.
#pragma once

#include "Database/AttributeLink.h"
#include "Environment/String.h"

namespace zelvane {

class Pattern {
public:
    virtual ~Pattern() = default;
    virtual bool exists() const = 0;
    virtual attribute_index getIndex() const = 0;
    virtual const AttributeLink& getLink() const = 0;
    virtual String getName() const = 0;
};

} // namespace zelvane
