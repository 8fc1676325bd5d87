// A 16-bit integer parameter.
#pragma once

#include "Library/ParameterForm.h"

namespace zelvane {

class IntegerParameter : public ParameterForm<short> {
public:
    using ParameterForm<short>::ParameterForm;
    IntegerParameter(const IntegerParameter&) = default;

    IntegerParameter* clone() const override { return new IntegerParameter(*this); }
    Int32 getTypeID() const override { return 1; }
    Int32 getCommandTypeID() const override { return MDCLPar_int; }
};

} // namespace zelvane
