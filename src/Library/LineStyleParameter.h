// A line-style parameter: the index of a line style of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class LineStyle;
class Specification;

class LineStyleParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    LineStyleParameter(const LineStyleParameter&) = default;

    LineStyleParameter* clone() const override { return new LineStyleParameter(*this); }
    // The line style of the attribute set (may be null) whose index is the first cell: a new wrapper
    // the caller deletes, or null.
    LineStyle* getAttribute(Specification* specification) const;
    Int32 getTypeID() const override { return 8; }
};

} // namespace zelvane
