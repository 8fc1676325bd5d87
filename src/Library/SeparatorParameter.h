// A separator line in a part's parameter list.
#pragma once

#include "Library/ValuelessParameter.h"

namespace zelvane {

class SeparatorParameter : public ValuelessParameter {
public:
    using ValuelessParameter::ValuelessParameter;
    SeparatorParameter(const SeparatorParameter&) = default;

    SeparatorParameter* clone() const override { return new SeparatorParameter(*this); }
    Int32 getTypeID() const override { return 14; }
    void clear() override {}
};

} // namespace zelvane
