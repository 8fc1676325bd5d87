// A length parameter, in metres.
#pragma once

#include "Library/RealParameter.h"

namespace zelvane {

class LengthParameter : public RealParameter {
public:
    using RealParameter::RealParameter;
    LengthParameter(const LengthParameter&) = default;

    LengthParameter* clone() const override { return new LengthParameter(*this); }
    Int32 getTypeID() const override { return 2; }
};

} // namespace zelvane
