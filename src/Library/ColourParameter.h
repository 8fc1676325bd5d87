// A colour parameter.
#pragma once

#include "Library/IntegerParameter.h"

namespace zelvane {

class ColourParameter : public IntegerParameter {
public:
    using IntegerParameter::IntegerParameter;
    ColourParameter(const ColourParameter&) = default;

    ColourParameter* clone() const override { return new ColourParameter(*this); }
    Int32 getTypeID() const override { return 6; }
};

} // namespace zelvane
