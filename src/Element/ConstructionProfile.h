// What elements built along a profile have in common: the shape of their cross-section.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class ConstructionProfile {
public:
    virtual ~ConstructionProfile() = default;

    // The shape type of the element's cross-section.
    virtual Int16 getShapeType() const = 0;
};

} // namespace zelvane
