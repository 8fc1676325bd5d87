// A text parameter.
#pragma once

#include "Library/ParameterForm.h"

namespace zelvane {

class StringParameter : public ParameterForm<String> {
public:
    using ParameterForm<String>::ParameterForm;
    StringParameter(const StringParameter&) = default;

    StringParameter* clone() const override { return new StringParameter(*this); }
    Int32 getTypeID() const override { return 12; }
    Int32 getCommandTypeID() const override { return MDCLPar_string; }
};

} // namespace zelvane
