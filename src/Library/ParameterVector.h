// The owning vector of a parameter list's parameters.
#pragma once

#include "Environment/Vector.h"
#include "Library/Parameter.h"

namespace zelvane {

class ParameterVector : public Vector<Parameter> {
public:
    using Vector<Parameter>::Vector;

    ParameterVector* clone() const override { return new ParameterVector(*this); }
};

} // namespace zelvane
