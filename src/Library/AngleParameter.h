// An angle parameter, in degrees as the part's script sees it.
#pragma once

#include "Library/RealParameter.h"

namespace zelvane {

class AngleParameter : public RealParameter {
public:
    using RealParameter::RealParameter;
    AngleParameter(const AngleParameter&) = default;

    AngleParameter* clone() const override { return new AngleParameter(*this); }
    Int32 getTypeID() const override { return 3; }
};

} // namespace zelvane
