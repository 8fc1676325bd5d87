// A real-number parameter.
#pragma once

#include "Library/ParameterForm.h"

namespace zelvane {

class RealParameter : public ParameterForm<double> {
public:
    using ParameterForm<double>::ParameterForm;
    RealParameter(const RealParameter&) = default;

    RealParameter* clone() const override { return new RealParameter(*this); }
    Int32 getTypeID() const override { return 4; }
    Int32 getCommandTypeID() const override { return MDCLPar_float; }
};

} // namespace zelvane
