// A finish (material) parameter: the index of a finish of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class Finish;
class Specification;

class MaterialParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    MaterialParameter(const MaterialParameter&) = default;

    MaterialParameter* clone() const override { return new MaterialParameter(*this); }
    // The finish of the attribute set (may be null) whose index is the first cell: a new wrapper
    // the caller deletes, or null.
    Finish* getAttribute(Specification* specification) const;
    Int32 getTypeID() const override { return 9; }
};

} // namespace zelvane
