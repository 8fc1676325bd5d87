// A pen parameter: the index of a pen of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class Pen;
class Specification;

class PenParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    PenParameter(const PenParameter&) = default;

    PenParameter* clone() const override { return new PenParameter(*this); }
    // The pen of the attribute set (may be null) whose index is the first cell: a new wrapper
    // the caller deletes, or null.
    Pen* getAttribute(Specification* specification) const;
    Int32 getTypeID() const override { return 11; }
};

} // namespace zelvane
