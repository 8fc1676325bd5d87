// A light switch parameter: on or off.
#pragma once

#include "Library/BooleanParameter.h"

namespace zelvane {

class SwitchParameter : public BooleanParameter {
public:
    using BooleanParameter::BooleanParameter;
    SwitchParameter(const SwitchParameter&) = default;

    SwitchParameter* clone() const override { return new SwitchParameter(*this); }
    Int32 getTypeID() const override { return 5; }
};

} // namespace zelvane
