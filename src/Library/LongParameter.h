// A 32-bit integer parameter; add-on commands pass their integers as these.
#pragma once

#include "Library/ParameterForm.h"

namespace zelvane {

class LongParameter : public ParameterForm<int> {
public:
    using ParameterForm<int>::ParameterForm;
    LongParameter(const LongParameter&) = default;

    LongParameter* clone() const override { return new LongParameter(*this); }
    Int32 getTypeID() const override { return 1; }
    Int32 getCommandTypeID() const override { return MDCLPar_int; }
};

} // namespace zelvane
