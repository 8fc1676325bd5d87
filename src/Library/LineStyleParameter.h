// A line-style parameter: the index of a line style of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class LineStyleParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    LineStyleParameter(const LineStyleParameter&) = default;

    LineStyleParameter* clone() const override { return new LineStyleParameter(*this); }
    Int32 getTypeID() const override { return 8; }
};

} // namespace zelvane
