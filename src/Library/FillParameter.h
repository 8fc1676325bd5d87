// A fill parameter: the index of a fill of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class FillParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    FillParameter(const FillParameter&) = default;

    FillParameter* clone() const override { return new FillParameter(*this); }
    Int32 getTypeID() const override { return 10; }
};

} // namespace zelvane
