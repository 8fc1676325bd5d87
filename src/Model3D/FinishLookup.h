// Where the surface materials of a 3D model are looked up: by the model's own material number or
// by the project's attribute index.
#pragma once

#include "Attribute/AttributeIndex.h"
#include "Attribute/Finish.h"

namespace zelvane {

class FinishLookup {
public:
    virtual ~FinishLookup() = default;

    virtual Finish getFinish(int material) = 0;
    virtual Finish getFinish(attribute_index index) = 0;
};

} // namespace zelvane
