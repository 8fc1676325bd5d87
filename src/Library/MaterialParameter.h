// A finish (material) parameter: the index of a finish of the attribute set.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class MaterialParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    MaterialParameter(const MaterialParameter&) = default;

    MaterialParameter* clone() const override { return new MaterialParameter(*this); }
    Int32 getTypeID() const override { return 9; }
};

} // namespace zelvane
