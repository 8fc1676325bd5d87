// A fill parameter: the index of a fill of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class Fill;
class Specification;

class FillParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    FillParameter(const FillParameter&) = default;

    FillParameter* clone() const override { return new FillParameter(*this); }
    // The fill of the attribute set (may be null) whose index is the first cell: a new wrapper
    // the caller deletes, or null.
    Fill* getAttribute(Specification* specification) const;
    Int32 getTypeID() const override { return 10; }
};

} // namespace zelvane
