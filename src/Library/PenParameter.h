// A pen parameter: the index of a pen of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class PenParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    PenParameter(const PenParameter&) = default;

    PenParameter* clone() const override { return new PenParameter(*this); }
    Int32 getTypeID() const override { return 11; }
};

} // namespace zelvane
