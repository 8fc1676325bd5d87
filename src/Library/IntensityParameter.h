// A light intensity parameter.
#pragma once

#include "Library/RealParameter.h"

namespace zelvane {

class IntensityParameter : public RealParameter {
public:
    using RealParameter::RealParameter;
    IntensityParameter(const IntensityParameter&) = default;

    IntensityParameter* clone() const override { return new IntensityParameter(*this); }
    Int32 getTypeID() const override { return 7; }
};

} // namespace zelvane
