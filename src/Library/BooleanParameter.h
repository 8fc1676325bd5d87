// A boolean parameter.
#pragma once

#include "Library/ParameterForm.h"

namespace zelvane {

class BooleanParameter : public ParameterForm<bool> {
public:
    using ParameterForm<bool>::ParameterForm;
    BooleanParameter(const BooleanParameter&) = default;

    BooleanParameter* clone() const override { return new BooleanParameter(*this); }
    Int32 getTypeID() const override { return 13; }
    Int32 getCommandTypeID() const override { return MDCLPar_int; }
    // Booleans keep their value when a setting's text is offered.
    virtual void setSettingText(const String&) {}
};

} // namespace zelvane
